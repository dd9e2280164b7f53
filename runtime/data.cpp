// Values, links, the process-wide delivery hooks, firing/forwarding/reading and the lenient
// conversions between kinds of value. Never includes a window-system header; never allocates
// during delivery other than string references.
#include "runtime/data.h"

#include <cmath>
#include <cstring>

namespace {

void DeliverNothing(const TQx_Event*, TData*) {}

// The dispatcher is a loop so that a chain of forwarding elements runs at constant stack depth.
// An exception escaping an input method ends the program (std::terminate, reported as a runtime
// error) instead of unwinding through the dispatcher into window code.
void Dispatch(const TQx_Event* link, TData* d) noexcept {
  const TQx_Event* e = link;
  while (e != nullptr && e->Method != nullptr) {
    e->Method(e->Target, d, e->Index);
    if ((d->Kind & dkForward) == 0) return;
    d->Kind = static_cast<std::uint8_t>(d->Kind & ~dkForward);
    e = d->ForwardTo;
  }
}

void Read(const TQx_Event* link, TData* d) noexcept {
  if (link != nullptr && link->Method != nullptr) link->Method(link->Target, d, link->Index);
}

// The incoming value gives its value to one data input and moves on to the next value of its chain.
void TakeIncoming(TData* d) {
  if (d->Next != nullptr) {
    TData* next = d->Next;
    *d = *next;
  } else {
    d->Kind = dkEmpty;
  }
}

}  // namespace

TDeliverProc DeliverEvent = &DeliverNothing;
TDeliverProc DeliverRead = &DeliverNothing;

void EnableDelivery() {
  DeliverEvent = &Dispatch;
  DeliverRead = &Read;
}

void DisableDelivery() {
  DeliverEvent = &DeliverNothing;
  DeliverRead = &DeliverNothing;
}

bool DeliveryEnabled() { return DeliverEvent == &Dispatch; }

// --- values

void MakeEmpty(TData* d) {
  d->Kind = dkEmpty;
  d->ForwardTo = nullptr;
  d->Next = nullptr;
}

void MakeInt(TData* d, std::int32_t v) {
  d->Kind = dkInteger;
  d->IntValue = v;
  d->ForwardTo = nullptr;
  d->Next = nullptr;
}

void MakeStr(TData* d, const ByteString& s) {
  d->Kind = dkString;
  d->StrValue = s;
  d->ForwardTo = nullptr;
  d->Next = nullptr;
}

void MakeReal(TData* d, double v) {
  d->Kind = dkReal;
  d->RealValue = v;
  d->ForwardTo = nullptr;
  d->Next = nullptr;
}

TQx_Event MakeLink(TQxMethod method, void* target, std::uint16_t index) {
  TQx_Event link;
  link.Method = method;
  link.Target = target;
  link.Index = index;
  return link;
}

// --- firing

void Fire(const TQx_Event& link, const TData* d) {
  TData copy = *d;  // receivers may forward through it; the sender's record stays as it was
  DeliverEvent(&link, &copy);
}

void FireSame(const TQx_Event& link, TData* d) { DeliverEvent(&link, d); }

void FireEmpty(const TQx_Event& link) {
  TData value;
  DeliverEvent(&link, &value);
}

void FireInt(const TQx_Event& link, std::int32_t v) {
  TData value;
  MakeInt(&value, v);
  DeliverEvent(&link, &value);
}

void FireStr(const TQx_Event& link, const ByteString& s) {
  TData value;
  MakeStr(&value, s);
  DeliverEvent(&link, &value);
}

void FireReal(const TQx_Event& link, double v) {
  TData value;
  MakeReal(&value, v);
  DeliverEvent(&link, &value);
}

// --- forwarding

void ForwardStr(TData* d, const TQx_Event* link, const ByteString& s) {
  d->Kind = dkString | dkForward;
  d->StrValue = s;
  d->Next = nullptr;
  d->ForwardTo = link;
}

void ForwardInt(TData* d, const TQx_Event* link, std::int32_t v) {
  d->Kind = dkInteger | dkForward;
  d->IntValue = v;
  d->Next = nullptr;
  d->ForwardTo = link;
}

void ForwardEmpty(TData* d, const TQx_Event* link) {
  d->Kind = dkForward;
  d->ForwardTo = link;
}

// --- reading data inputs. Precedence: a connected link that answers wins, then a non-empty
// default, and only then the incoming value, which is consumed.

ByteString PullStr(TData* d, const TQx_Event& link, const ByteString& def) {
  if (link.Connected()) {
    TData answer;
    DeliverRead(&link, &answer);
    if (answer.Kind != dkAbsent) return AsStr(&answer);
  }
  if (!def.empty() || d == nullptr || d->Kind == dkEmpty) return def;
  ByteString result = AsStr(d);
  TakeIncoming(d);
  return result;
}

double PullReal(TData* d, const TQx_Event& link, double def) {
  if (link.Connected()) {
    TData answer;
    DeliverRead(&link, &answer);
    if (answer.Kind != dkAbsent) return AsReal(&answer);
  }
  if (def != 0 || d == nullptr || d->Kind == dkEmpty) return def;
  double result = AsReal(d);
  TakeIncoming(d);
  return result;
}

void PullValue(TData* d, const TQx_Event& link, const TData* def, TData* result) {
  if (link.Connected()) {
    MakeEmpty(result);
    DeliverRead(&link, result);
    result->Next = nullptr;
    if (result->Kind != dkAbsent) return;
  }
  if (def != nullptr && def->Kind != dkEmpty) {
    *result = *def;
    return;
  }
  if (d == nullptr) {
    MakeEmpty(result);
    return;
  }
  // Copied before the incoming value advances, so result may even be the incoming record.
  TData value = *d;
  value.Next = nullptr;
  if (d->Kind == dkEmpty)
    d->Next = nullptr;
  else
    TakeIncoming(d);
  *result = value;
}

std::int32_t PullInt(const TQx_Event& link) {
  TData answer;
  DeliverRead(&link, &answer);
  return AsInt(&answer);
}

void PullRaw(TData* d, const TQx_Event& link) {
  if (link.Connected())
    DeliverRead(&link, d);
  else
    d->Kind = dkAbsent;
}

// --- conversions

std::int32_t AsInt(const TData* d) {
  switch (d->Kind) {
    case dkInteger:
      return d->IntValue;
    case dkString:
      return StrToIntLax(d->StrValue);
    case dkReal:
      return RoundHalfEven(d->RealValue);
    default:
      return 0;
  }
}

ByteString AsStr(const TData* d) {
  switch (d->Kind) {
    case dkInteger:
      return IntToStrDec(d->IntValue);
    case dkString:
      return d->StrValue;
    case dkReal:
      return RealToStr(d->RealValue);
    default:
      return ByteString();
  }
}

double AsReal(const TData* d) {
  switch (d->Kind) {
    case dkInteger:
      return static_cast<double>(d->IntValue);
    case dkString:
      return StrToRealLax(d->StrValue);
    case dkReal:
      return d->RealValue;
    default:
      return 0.0;
  }
}

std::int32_t AsIndex(const TData* d) {
  switch (d->Kind) {
    case dkInteger:
      return d->IntValue;
    case dkString: {
      const ByteString& s = d->StrValue;
      if (s.empty()) return -1;
      const std::int32_t n = StrToIntLax(s);
      if (n != 0) return n;
      return s[0] == '0' ? 0 : -1;
    }
    case dkReal:
      return RoundHalfEven(d->RealValue);
    default:
      return -1;
  }
}

// A value that is not finite or whose rounding does not fit in 64 bits gives 0: no fixed-width
// conversion of an out-of-range real is ever attempted.
std::int32_t RoundHalfEven(double x) {
  if (!std::isfinite(x)) return 0;
  double r = std::floor(x);
  const double fraction = x - r;  // exact for every finite double
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  constexpr double kTwoPow63 = 9223372036854775808.0;
  if (r < -kTwoPow63 || r >= kTwoPow63) return 0;
  const auto wide = static_cast<std::int64_t>(r);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

ByteString IntToStrDec(std::int32_t v) {
  char buffer[12];
  char* end = buffer + sizeof buffer;
  char* p = end;
  std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (v < 0) *--p = '-';
  return ByteString(p, static_cast<std::size_t>(end - p));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::int32_t StrToIntLax(const char* p, const char* end) {
  if (p == end) return 0;
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  } else if (*p == '+') {
    ++p;
  }
  std::uint32_t value = 0;  // unsigned: overflow wraps by definition
  for (; p != end && IsDigit(*p); ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

// 10^k by repeated multiplication (negative k as (1/10)^-k). Stops as soon as the power is 0 or
// infinite, so a huge exponent costs at most a few hundred steps.
double PowerOfTen(std::int32_t k) {
  const double factor = k < 0 ? 0.1 : 10.0;
  std::int64_t steps = k < 0 ? -static_cast<std::int64_t>(k) : k;
  double power = 1.0;
  for (; steps > 0 && power != 0.0 && !std::isinf(power); --steps) power *= factor;
  return power;
}

}  // namespace

std::int32_t StrToIntLax(const ByteString& s) { return StrToIntLax(s.data(), s.data() + s.size()); }

// Exponent overflow gives an infinite result (or 0 on underflow). A product that would be NaN
// (an all-zero mantissa times an overflowing power, or an overflowing mantissa times a vanishing
// power) gives 0: this parser never returns NaN.
double StrToRealLax(const ByteString& s) {
  const char* p = s.data();
  const char* const end = p + s.size();
  if (p == end) return 0.0;
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  double r = 0.0;
  bool fraction = false;
  double scale = 1.0;
  for (; p != end; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      const int digit = c - '0';
      if (!fraction) {
        r = r * 10.0 + digit;
      } else {
        scale *= 0.1;
        r += digit * scale;
      }
    } else if (c == '.') {
      if (fraction) break;
      fraction = true;
    } else if (c == 'E' || c == 'e') {
      r *= PowerOfTen(StrToIntLax(p + 1, end));
      if (std::isnan(r)) r = 0.0;
      break;
    }
  }
  return negative ? -r : r;
}

namespace {

long double RoundHalfEvenWide(long double x) {
  long double r = std::floor(x);
  const long double fraction = x - r;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(r, 2.0L) != 0.0L)) r += 1.0L;
  return r;
}

// The value's first fifteen significant digits, rounded half to even, into d; returns the
// decimal exponent e: the value is 0.d * 10^e.
int FifteenDigits(long double x, char (&d)[15]) {
  int e = 15;
  while (x < 5e12L) {
    x *= 10;
    --e;
  }
  if (e == 15) {
    while (x >= 1e13L) {
      x /= 10;
      ++e;
    }
  }
  long double n;
  for (;;) {
    n = RoundHalfEvenWide(x);
    if (n >= 1e14L) break;
    x *= 10;
    --e;
  }
  auto digits = static_cast<std::uint64_t>(n);
  if (digits >= 1000000000000000ull) {  // rounding carried into a sixteenth digit
    digits /= 10;
    ++e;
  }
  for (int i = 14; i >= 0; --i) {
    d[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  return e;
}

}  // namespace

// Fifteen significant digits, never exponent notation, computed in extended precision.
// Values that are not finite have no digits to show: they read "NAN", "INF" and "-INF".
ByteString RealToStr(double value) {
  if (std::isnan(value)) return ByteString("NAN");
  if (std::isinf(value)) return ByteString(value < 0 ? "-INF" : "INF");
  if (value == 0) return ByteString("0");
  char d[15];
  const int e = FifteenDigits(std::fabs(static_cast<long double>(value)), d);

  // Longest result: "-0." + 340 zeros + 15 digits for the smallest subnormal, or 309 digits.
  char buffer[400];
  std::size_t length = 0;
  bool point = false;
  if (value < 0) buffer[length++] = '-';
  if (e <= 0) {
    buffer[length++] = '0';
    buffer[length++] = '.';
    for (int i = 0; i < -e; ++i) buffer[length++] = '0';
    std::memcpy(buffer + length, d, 15);
    length += 15;
    point = true;
  } else if (e < 15) {
    std::memcpy(buffer + length, d, static_cast<std::size_t>(e));
    length += static_cast<std::size_t>(e);
    buffer[length++] = '.';
    std::memcpy(buffer + length, d + e, static_cast<std::size_t>(15 - e));
    length += static_cast<std::size_t>(15 - e);
    point = true;
  } else {
    std::memcpy(buffer + length, d, 15);
    length += 15;
    for (int i = 0; i < e - 15; ++i) buffer[length++] = '0';
  }
  if (point) {
    while (buffer[length - 1] == '0') --length;
    if (buffer[length - 1] == '.') --length;
  }
  return ByteString(buffer, length);
}
