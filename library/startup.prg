// Functions every session starts with. They are compiled when the program
// is built and saved as the start-up state file; users cannot redefine them.

// Sample variance of the values in row 1 of V (the square of sdx).
function var(V)
  var = sdx(V) ^ 2
endfn

// Sample standard deviation of the values in row 1 of V.
function std(V)
  std = sdx(V)
endfn

// Fractional part of x, with the sign of x.
function Fract(x)
  Fract = frac(x)
endfn
