// The value carried by every link (TData), the link record (TQx_Event), and the process-wide
// delivery, firing, forwarding, reading and conversion operations every element uses.
// Single-threaded by design (the GUI thread); never includes a window-system header.
#pragma once

#include <cstdint>

#include "runtime/bytestring.h"

enum : std::uint8_t {
  dkEmpty = 0,
  dkInteger = 1,
  dkString = 2,
  dkReal = 7,
  dkAbsent = 21,
  dkForward = 128,  // flag: a forwarding request is pending
};

struct TData;
struct TQx_Event;

// Every input method and data output: (element, value, 16-bit index).
using TQxMethod = void (*)(void* target, TData* d, std::uint16_t index);

struct TQx_Event {
  TQxMethod Method = nullptr;  // null: unconnected
  void* Target = nullptr;
  std::uint16_t Index = 0;
  bool Connected() const noexcept { return Method != nullptr; }
};

struct TData {
  std::uint8_t Kind = dkEmpty;
  std::int32_t IntValue = 0;
  ByteString StrValue;
  double RealValue = 0.0;
  const TQx_Event* ForwardTo = nullptr;  // non-owning
  TData* Next = nullptr;                 // non-owning
};

// Root of the element classes: the owner frees elements through it.
class TQxObject {
 public:
  virtual ~TQxObject() = default;
};

// --- values
void MakeEmpty(TData* d);
void MakeInt(TData* d, std::int32_t v);
void MakeStr(TData* d, const ByteString& s);
void MakeReal(TData* d, double v);
inline std::uint8_t KindOf(const TData* d) { return d->Kind; }

// --- links
TQx_Event MakeLink(TQxMethod method, void* target, std::uint16_t index);

// Adapts a member function `void C::m(TData*, uint16_t)` to the method signature.
template <class M>
struct TQxMethodClass;
template <class C>
struct TQxMethodClass<void (C::*)(TData*, std::uint16_t)> {
  using type = C;
};
template <auto M>
void TQxCallMember(void* target, TData* d, std::uint16_t index) {
  using C = typename TQxMethodClass<decltype(M)>::type;
  (static_cast<C*>(target)->*M)(d, index);
}
// MakeLink<&TQxHub::inEvent>(hub, 1)
template <auto M>
TQx_Event MakeLink(typename TQxMethodClass<decltype(M)>::type* target, std::uint16_t index = 0) {
  return MakeLink(&TQxCallMember<M>, static_cast<void*>(target), index);
}

// --- process-wide delivery hooks (both do nothing until EnableDelivery)
// The dispatcher follows forwarded links in a loop; a forward to a null or unconnected link ends the
// delivery. It is noexcept: an exception escaping an input method ends the program.
using TDeliverProc = void (*)(const TQx_Event* link, TData* d);
extern TDeliverProc DeliverEvent;
extern TDeliverProc DeliverRead;
void EnableDelivery();
void DisableDelivery();
bool DeliveryEnabled();

// --- firing an output event; each returns after the whole delivery, forwarded steps included
void Fire(const TQx_Event& link, const TData* d);  // delivers a copy
void FireSame(const TQx_Event& link, TData* d);    // delivers the record itself
void FireEmpty(const TQx_Event& link);
void FireInt(const TQx_Event& link, std::int32_t v);
void FireStr(const TQx_Event& link, const ByteString& s);
void FireReal(const TQx_Event& link, double v);

// --- forwarding (tail delivery) from inside an input method
void ForwardStr(TData* d, const TQx_Event* link, const ByteString& s);
void ForwardInt(TData* d, const TQx_Event* link, std::int32_t v);
void ForwardEmpty(TData* d, const TQx_Event* link);

// --- reading a data input; d is the incoming value of the running input method (may be null:
// then there is no incoming value to fall back to)
ByteString PullStr(TData* d, const TQx_Event& link, const ByteString& def);
double PullReal(TData* d, const TQx_Event& link, double def);
void PullValue(TData* d, const TQx_Event& link, const TData* def, TData* result);
std::int32_t PullInt(const TQx_Event& link);
void PullRaw(TData* d, const TQx_Event& link);

// --- conversions
std::int32_t AsInt(const TData* d);
ByteString AsStr(const TData* d);
double AsReal(const TData* d);
std::int32_t AsIndex(const TData* d);
// Low 32 bits of the 64-bit rounding; 0 for NaN, infinities and values beyond the 64-bit range.
std::int32_t RoundHalfEven(double x);
ByteString IntToStrDec(std::int32_t v);
std::int32_t StrToIntLax(const ByteString& s);  // wraps at 32 bits
// Never NaN: an exponent past the real range gives +-infinity or 0, and 0 x infinity gives 0.
double StrToRealLax(const ByteString& s);
// At most 15 significant digits, no exponent; "INF", "-INF" and "NAN" for values that are not finite.
ByteString RealToStr(double x);
