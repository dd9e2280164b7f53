// The stored value element over the main form's position store.
#include "elements/stored_value.h"

#include "elements/form_position.h"

void TQxStoredValue::inStore(TData* d, std::uint16_t) {
  SaveStoredValue(PositionKey.view(), Name.view(), AsInt(d));
}

void TQxStoredValue::getValue(TData* d, std::uint16_t) {
  std::int32_t value = Default;
  LoadStoredValue(PositionKey.view(), Name.view(), value);
  MakeInt(d, value);
}
