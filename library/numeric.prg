// Roots, integrals and plots of an expression given as text in a named
// variable. The library's house rules are in gamma_bessel.prg.
//
// The expression runs through EVAL, which compiles it in the scope of the
// calling function: the variable it names becomes a local of that function,
// and values pass in and out through locals, never through STR, which keeps
// only eight digits. Parameters and locals carry a prefix of their own so
// that they cannot meet the names a user writes in the expression; for the
// same reason the user's global variables are not seen by the expression.
//
// The language cannot test a value's type without failing, so a number
// given where the text of the function or the variable belongs is refused
// by len with the engine's own message, "sSTRING expected".

// A root of the expression nw_f in the variable named nw_v by Newton's
// method from nw_x0, with the derivative from central differences.
function solve_nw(nw_f, nw_v, nw_x0)
  nw_t = len(nw_f) + len(nw_v)
  nw_e = nw_v + "=nw_a:nw_y=" + nw_f
  nw_x = nw_x0
  nw_i = 0
  repeat
    nw_i = nw_i + 1
    nw_a = nw_x
    eval nw_e
    nw_0 = nw_y
    if nw_0 = 0 then
      solve_nw = nw_x
      returnf
    endif
    nw_h = 1e-5 * absx_(nw_x)
    if nw_h < 1e-7 then nw_h = 1e-7: endif
    nw_a = nw_x + nw_h
    eval nw_e
    nw_p = nw_y
    nw_a = nw_x - nw_h
    eval nw_e
    nw_d = (nw_p - nw_y) / (2 * nw_h)
    if nw_d = 0 then argerr_("solve_nw: the derivative is zero; try another starting point"): endif
    nw_s = nw_0 / nw_d
    nw_x = nw_x - nw_s
    if nw_i >= 100 then argerr_("solve_nw: no convergence; try another starting point"): endif
    nw_u = absx_(nw_s)
    nw_w = absx_(nw_x)
  until nw_u <= 1e-14 * nw_w
  solve_nw = nw_x
endfn

// A root of the expression bi_f in the variable named bi_v by bisection
// of [bi_a, bi_b], where the expression must change sign; halves until the
// interval cannot shrink any more.
function solve_bi(bi_f, bi_v, bi_a, bi_b)
  bi_t = len(bi_f) + len(bi_v)
  bi_e = bi_v + "=bi_x:bi_y=" + bi_f
  bi_l = bi_a: bi_r = bi_b
  bi_x = bi_l
  eval bi_e
  bi_fl = bi_y
  bi_x = bi_r
  eval bi_e
  if bi_fl = 0 then
    solve_bi = bi_l
    returnf
  endif
  if bi_y = 0 then
    solve_bi = bi_r
    returnf
  endif
  if (bi_fl < 0) = (bi_y < 0) then argerr_("solve_bi: the function must change sign between a and b"): endif
  bi_sl = (bi_fl < 0)
  repeat
    bi_x = (bi_l + bi_r) / 2
    bi_c = (bi_x = bi_l) or (bi_x = bi_r)
    if bi_c = 0 then
      eval bi_e
      if bi_y = 0 then
        solve_bi = bi_x
        returnf
      endif
      if (bi_y < 0) = bi_sl then bi_l = bi_x: else bi_r = bi_x: endif
    endif
  until bi_c
  solve_bi = bi_x
endfn

// The integral of the expression ig_f in the variable named ig_v from ig_a
// to ig_b by Romberg's method, using at most ig_n evaluation points. Each
// level's new points are summed by one EVAL of a loop.
function integ(ig_f, ig_v, ig_a, ig_b, ig_n)
  ig_t = len(ig_f) + len(ig_v)
  ig_np = ig_n
  if ig_np < 3 then argerr_("integ: npoints must be at least 3"): endif
  ig_lo = ig_a: ig_w = ig_b - ig_a
  ig_e = ig_v + "=ig_x:ig_y=" + ig_f
  ig_x = ig_lo
  eval ig_e
  ig_s = ig_y
  ig_x = ig_lo + ig_w
  eval ig_e
  ig_r = [ig_w * (ig_s + ig_y) / 2]
  ig_e = "ig_s=0:for ig_i=1 to ig_m:" + ig_v + "=ig_lo+(2*ig_i-1)*ig_h:ig_s=ig_s+(" + ig_f + "):next"
  ig_k = 0: ig_m = 1
  repeat
    ig_k = ig_k + 1
    ig_h = ig_w / (2 * ig_m)
    eval ig_e
    ig_q = ig_r
    ig_r(1, 1) = ig_q(1, 1) / 2 + ig_h * ig_s
    ig_p = 1
    for ig_j = 1 to ig_k
      ig_p = ig_p * 4
      ig_r(1, ig_j + 1) = ig_r(1, ig_j) + (ig_r(1, ig_j) - ig_q(1, ig_j)) / (ig_p - 1)
    next
    ig_d = absx_(ig_r(1, ig_k + 1) - ig_q(1, ig_k))
    ig_c = (ig_k >= 4) and (ig_d <= 1e-13 * absx_(ig_r(1, ig_k + 1)))
    ig_m = ig_m * 2
  until ig_c or (2 * ig_m + 1 > ig_np)
  integ = ig_r(1, ig_k + 1)
endfn

// Samples the expression pl_f in the variable named pl_v at 201 points of
// [pl_a, pl_b] into series pl_s as a line titled with the expression.
sub fillplot_(pl_s, pl_f, pl_v, pl_a, pl_b)
  pl_n = 201
  pl_lo = pl_a
  pl_h = (pl_b - pl_a) / (pl_n - 1)
  pl_x = [0]: pl_y = [0]
  pl_x(1, pl_n) = 0: pl_y(1, pl_n) = 0
  eval "for pl_i=1 to pl_n:" + pl_v + "=pl_lo+(pl_i-1)*pl_h:pl_x(1,pl_i)=" + pl_v + ":pl_y(1,pl_i)=(" + pl_f + "):next"
  SETSERIE(pl_s, 0, pl_f)
  SERIEXY(pl_s, pl_x, pl_y)
endsub

// Draws the expression f of the variable named v over [a, b] as series 1,
// emptying series 1 to 9 first.
sub plot(pl_f, pl_v, pl_a, pl_b)
  pl_t = len(pl_f) + len(pl_v)
  gclear(0)
  fillplot_(1, pl_f, pl_v, pl_a, pl_b)
endsub

// Draws the expression f of the variable named v over [a, b] as series s
// (1 to 9) beside what the chart already shows.
sub addplot(pl_s, pl_f, pl_v, pl_a, pl_b)
  pl_k = pl_s
  needint_(pl_k, 1, "addplot: the series s must be a whole number from 1 to 9")
  if pl_k > 9 then argerr_("addplot: the series s must be a whole number from 1 to 9"): endif
  pl_t = len(pl_f) + len(pl_v)
  fillplot_(pl_k, pl_f, pl_v, pl_a, pl_b)
endsub

// Grow the symbol table now, while the library is being built, to what the
// deepest calls need beside a user's variables, so that a user's first call
// does not announce the growth. ANS is the only variable this touches.
ANS = upperFi(3, 7, 1e-100)
ANS = upperTi(5, 1e-5)
ANS = Kn(5, 1.5)
ANS = integ("x", "x", 0, 1, 5)
ANS = 0
