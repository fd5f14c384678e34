#include "platform/wtext.h"

namespace wtext {

size_t Length(const WChar* s) {
  size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

bool CopyN(WChar* dst, size_t capacity, const WChar* src, size_t maxUnits) {
  if (capacity == 0) return false;
  size_t i = 0;
  while (i < maxUnits && src[i] != 0 && i + 1 < capacity) {
    dst[i] = src[i];
    ++i;
  }
  dst[i] = 0;
  return i == maxUnits || src[i] == 0;
}

bool Copy(WChar* dst, size_t capacity, const WChar* src) { return CopyN(dst, capacity, src, SIZE_MAX); }

bool Append(WChar* dst, size_t capacity, const WChar* src) {
  size_t n = 0;
  while (n < capacity && dst[n] != 0) ++n;
  if (n >= capacity) return false;
  return Copy(dst + n, capacity - n, src);
}

bool Equal(const WChar* a, const WChar* b) {
  size_t i = 0;
  for (; a[i] != 0 && a[i] == b[i]; ++i) {
  }
  return a[i] == b[i];
}

bool StartsWith(const WChar* s, const WChar* prefix) {
  for (size_t i = 0; prefix[i] != 0; ++i) {
    if (s[i] != prefix[i]) return false;
  }
  return true;
}

WChar LowerUnit(WChar c) {
  if (c >= u'A' && c <= u'Z') return static_cast<WChar>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<WChar>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<WChar>(c + 0x20);
  if (c >= 0x0400 && c <= 0x040F) return static_cast<WChar>(c + 0x50);
  return c;
}

void Lower(WChar* s) {
  for (; *s != 0; ++s) *s = LowerUnit(*s);
}

bool EqualNoCase(const WChar* a, const WChar* b) {
  size_t i = 0;
  for (; a[i] != 0 && LowerUnit(a[i]) == LowerUnit(b[i]); ++i) {
  }
  return LowerUnit(a[i]) == LowerUnit(b[i]);
}

namespace {

struct Out {
  WChar* dst;
  size_t capacity;
  size_t used;
  bool cut;
  void Put(WChar c) {
    if (used + 1 < capacity) {
      dst[used++] = c;
    } else {
      cut = true;
    }
  }
};

void PutNumber(Out& out, unsigned long long value, unsigned base, bool upper, int width, bool negative) {
  char digits[24];
  int n = 0;
  do {
    unsigned d = static_cast<unsigned>(value % base);
    digits[n++] = static_cast<char>(d < 10 ? '0' + d : (upper ? 'A' : 'a') + d - 10);
    value /= base;
  } while (value != 0);
  if (negative) out.Put(u'-');
  for (int i = n; i < width; ++i) out.Put(u'0');
  while (n > 0) out.Put(static_cast<WChar>(digits[--n]));
}

}  // namespace

bool FormatV(WChar* dst, size_t capacity, const WChar* format, va_list args) {
  if (capacity == 0) return false;
  Out out{dst, capacity, 0, false};
  for (const WChar* p = format; *p != 0; ++p) {
    if (*p != u'%') {
      out.Put(*p);
      continue;
    }
    ++p;
    int width = 0;
    while (*p >= u'0' && *p <= u'9') width = width * 10 + (*p++ - u'0');
    switch (*p) {
      case u's': {
        const WChar* s = va_arg(args, const WChar*);
        if (s == nullptr) s = u"(null)";
        for (; *s != 0; ++s) out.Put(*s);
        break;
      }
      case u'c': out.Put(static_cast<WChar>(va_arg(args, int))); break;
      case u'd': {
        int v = va_arg(args, int);
        unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(v))
                                       : static_cast<unsigned long long>(v);
        PutNumber(out, mag, 10, false, width, v < 0);
        break;
      }
      case u'u': PutNumber(out, va_arg(args, unsigned), 10, false, width, false); break;
      case u'X':
      case u'x': PutNumber(out, va_arg(args, unsigned), 16, *p == u'X', width, false); break;
      case u'%': out.Put(u'%'); break;
      case 0:
        --p;  // a lone '%' at the end: stop at the terminator
        break;
      default:
        out.Put(u'%');
        out.Put(*p);
        break;
    }
  }
  dst[out.used] = 0;
  return !out.cut;
}

bool Format(WChar* dst, size_t capacity, const WChar* format, ...) {
  va_list args;
  va_start(args, format);
  bool ok = FormatV(dst, capacity, format, args);
  va_end(args);
  return ok;
}

}  // namespace wtext
