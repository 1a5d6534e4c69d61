#include "chem/extended_arithmetic.h"

#include <fpu_control.h>
#include <xmmintrin.h>

namespace isoquill {

namespace {

// Precision control 64 bits, rounding to nearest, all six exceptions masked.
constexpr fpu_control_t x87Extended = 0x037f;
// Rounding to nearest (bits 13-14 clear), all six exceptions masked, neither
// flush-to-zero (bit 15) nor denormals-are-zero (bit 6).
constexpr unsigned int sseNearestMask = 0x1f80;

}  // namespace

ExtendedArithmetic::ExtendedArithmetic() {
    fpu_control_t x87;
    _FPU_GETCW(x87);
    x87Control_ = static_cast<unsigned short>(x87);
    sseControl_ = _mm_getcsr();
    x87 = x87Extended;
    _FPU_SETCW(x87);
    _mm_setcsr((sseControl_ & 0x3f) | sseNearestMask);  // keeps the sticky flags
}

ExtendedArithmetic::~ExtendedArithmetic() {
    fpu_control_t x87 = x87Control_;
    _FPU_SETCW(x87);
    _mm_setcsr(sseControl_);
}

}  // namespace isoquill
