// Functions every session starts with. They are compiled when the program
// is built and saved as the start-up state file; users cannot redefine them.

// Sample variance of the values in row 1 of V (the square of sdx).
function var(p_v)
  var = sdx(p_v) ^ 2
endfn

// Sample standard deviation of the values in row 1 of V.
function std(p_v)
  std = sdx(p_v)
endfn

// Fractional part of x, with the sign of x.
function Fract(p_x)
  Fract = frac(p_x)
endfn
