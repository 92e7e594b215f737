#pragma once
// C's atoi/atof semantics (leading number, rest ignored, 0 when none) under the C locale,
// with overflow clamped instead of undefined.

/// The leading decimal integer of `s` (after blanks), clamped to int; 0 for none or null.
int AtoI(const char* s);
/// The leading floating-point number of `s`, in the C locale; 0 for none or null.
/// Out-of-range values are clamped to +/-DBL_MAX, never inf.
double AtoF(const char* s);
