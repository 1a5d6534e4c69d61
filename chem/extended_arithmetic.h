// The x87 state the arithmetic relies on: 64-bit significands and rounding
// to nearest. A thread inherits its control word from whatever started it,
// so every thread that computes sets it where it starts.
#pragma once

namespace isoquill {

// For its lifetime the calling thread computes with 64-bit precision
// control, round to nearest, every floating-point exception masked and no
// flushing of subnormals; the thread's previous state comes back after.
class ExtendedArithmetic {
public:
    ExtendedArithmetic();
    ~ExtendedArithmetic();
    ExtendedArithmetic(const ExtendedArithmetic&) = delete;
    ExtendedArithmetic& operator=(const ExtendedArithmetic&) = delete;

private:
    unsigned short x87Control_;
    unsigned int sseControl_;
};

}  // namespace isoquill
