// Special functions: gamma and the Bessel functions of integer order.
//
// House rules of the library, forced by the language:
// - locals are shared by all activations and freed when any of them ends, so
//   nothing here is recursive;
// - a variable passed as an argument is passed by reference, so parameters
//   are copied into locals and never assigned;
// - a call yields a reference to the function's own entry, so every result
//   of a library call is stored in a local before the next call of the same
//   function;
// - "=" binds weaker than AND and OR and MOD weaker than "+", so comparisons
//   and remainders are written in parentheses;
// - sin and cos follow the angle unit; exp of an imaginary argument gives
//   cos and sin in radians whatever the unit is;
// - abs, ln and sqrt form the modulus from squares, which under- and
//   overflow beyond 1e154, so the library uses absx_, lnx_ and x ^ 0.5;
// - a bad argument is reported by argerr_: the language has no statement
//   that raises an error with a message, so it prints one and halts;
// - functions are visible in every scope, so a local or a parameter named
//   like one of a user's functions would be that function's entry: local
//   names end in "_" and parameter names start with "p_".

// Stops the calling program with a message: prints it, then halts.
sub argerr_(m_)
  print m_
  halt
endsub

// Stops with the message unless k is a whole number of at least lo.
sub needint_(k_, lo_, m_)
  if k_ < lo_ then argerr_(m_): endif
  if frac(k_) <> 0 then argerr_(m_): endif
endsub

// Gamma for x >= 0.5: Lanczos (g = 7, 9 terms) below 10, where it is good
// to a few units of the last place, and Stirling's series above, with the
// power split in two halves so that it neither overflows early nor loses
// the accuracy that a single exp of the logarithm would.
function gampos_(p_x)
  z_ = p_x
  if z_ < 10 then
    z_ = z_ - 1
    a_ = 0.99999999999980993 + 676.5203681218851 / (z_ + 1) - 1259.1392167224028 / (z_ + 2)
    a_ = a_ + 771.32342877765313 / (z_ + 3) - 176.61502916214059 / (z_ + 4)
    a_ = a_ + 12.507343278686905 / (z_ + 5) - 0.13857109526572012 / (z_ + 6)
    a_ = a_ + 9.9843695780195716e-6 / (z_ + 7) + 1.5056327351493116e-7 / (z_ + 8)
    t_ = z_ + 7.5
    h_ = t_ ^ ((z_ + 0.5) / 2)
    gampos_ = 2.5066282746310002 * (h_ * exp(-t_)) * h_ * a_
  else
    y_ = 1 / (z_ * z_)
    s_ = 1/12 + y_ * (-1/360 + y_ * (1/1260 + y_ * (-1/1680 + y_ * (1/1188 + y_ * (-691/360360 + y_ / 156)))))
    h_ = z_ ^ ((z_ - 0.5) / 2)
    gampos_ = 2.5066282746310002 * (h_ * exp(-z_)) * h_ * exp(s_ / z_)
  endif
endfn

// The gamma function; below 0.5 by reflection, with sin(pi x) formed from
// the distance to the nearest integer so that it stays exact near the poles.
function gamma(p_x)
  x_ = p_x
  if x_ <= 0 then
    if frac(x_) = 0 then argerr_("gamma: x must not be 0 or a negative integer"): endif
  endif
  if x_ >= 0.5 then
    g_ = gampos_(x_)
  else
    k_ = floor_(x_ + 0.5)
    r_ = x_ - k_
    s_ = im(exp(3.141592653589793 * r_ * 1i))
    if (k_ mod 2) <> 0 then s_ = -s_: endif
    g_ = gampos_(1 - x_)
    g_ = 3.141592653589793 / (s_ * g_)
  endif
  gamma = g_
endfn

// Natural logarithm of x > 0 over the whole range of doubles (ln forms the
// modulus from squares, which under- and overflow beyond 1e154).
function lnx_(p_x)
  x_ = p_x
  if x_ < 1e-150 then
    lnx_ = ln(x_ * 2 ^ 600) - 415.88830833596717
  else
    if x_ > 1e150 then
      lnx_ = ln(x_ / 2 ^ 600) + 415.88830833596717
    else
      lnx_ = ln(x_)
    endif
  endif
endfn

// Absolute value of a real x (abs forms it from squares, which under- and
// overflow beyond 1e154).
function absx_(p_x)
  if p_x < 0 then absx_ = -p_x: else absx_ = p_x: endif
endfn

// Largest whole number not above x.
function floor_(p_x)
  f_ = p_x - frac(p_x)
  if f_ > p_x then f_ = f_ - 1: endif
  floor_ = f_
endfn

// Natural logarithm of gamma(x) for x > 0.
function lgam_(p_x)
  z_ = p_x
  if z_ < 10 then
    l_ = gampos_(z_ + 1)
    lgam_ = ln(l_) - ln(z_)
  else
    y_ = 1 / (z_ * z_)
    s_ = 1/12 + y_ * (-1/360 + y_ * (1/1260 + y_ * (-1/1680 + y_ * (1/1188 + y_ * (-691/360360 + y_ / 156)))))
    lgam_ = (z_ - 0.5) * ln(z_) - z_ + 0.91893853320467274 + s_ / z_
  endif
endfn

// First index of Miller's backward recurrence for order n at x: far enough
// above both that the neglected tail is below the last place.
function mstart_(p_n, p_x)
  b_ = p_n
  if p_x > b_ then b_ = p_x: endif
  m_ = b_ - frac(b_) + 20 + 3 * sqrt(b_)
  m_ = m_ - frac(m_)
  mstart_ = m_ + (m_ mod 2)
endfn

// Hankel's asymptotic expansion for x >= 25: [J, Y] of order 0 or 1. The
// phase x - (2n + 1) pi / 4 is split so that cos x and sin x come straight
// from the library.
function hankel_(p_n, p_x)
  n_ = p_n: x_ = p_x
  u_ = 4 * n_ * n_
  p_ = 1: q_ = 0: t_ = 1: k_ = 1
  repeat
    t_ = t_ * (u_ - (2 * k_ - 1) ^ 2) / (k_ * 8 * x_)
    g_ = 1
    if (floor_(k_ / 2) mod 2) <> 0 then g_ = -1: endif
    if (k_ mod 2) = 1 then
      q_ = q_ + g_ * t_
    else
      p_ = p_ + g_ * t_
    endif
    k_ = k_ + 1
  until (abs(t_) < 1e-17) or (k_ > 200)
  e_ = exp(x_ * 1i)
  w_ = exp((2 * n_ + 1) * 0.78539816339744831 * 1i)
  c_ = real(e_) * real(w_) + im(e_) * im(w_)
  s_ = im(e_) * real(w_) - real(e_) * im(w_)
  f_ = sqrt(0.63661977236758134 / x_)
  hankel_ = [f_ * (p_ * c_ - q_ * s_), f_ * (p_ * s_ + q_ * c_)]
endfn

// Bessel function of the first kind, J_n(x): for large x and n below x / 2
// from Hankel's expansion, otherwise by Miller's backward recurrence
// normalised with J_0 + 2 (J_2 + J_4 + ...) = 1.
function Jn(p_n, p_x)
  n_ = p_n: x_ = p_x
  needint_(n_, 0, "Jn: the order n must be a whole number >= 0")
  s_ = 1
  if x_ < 0 then
    x_ = -x_
    if (n_ mod 2) = 1 then s_ = -1: endif
  endif
  if x_ = 0 then
    Jn = (n_ = 0)
    returnf
  endif
  if (x_ >= 25) and (n_ <= x_ / 2) then
    // Far from the turning point forward recurrence from Hankel's J_0 and
    // J_1 is stable, and it costs n steps instead of about x.
    h_ = hankel_(0, x_)
    j0_ = h_(1, 1)
    h_ = hankel_(1, x_)
    j1_ = h_(1, 1)
    if n_ = 0 then j1_ = j0_: endif
    for k_ = 1 to n_ - 1
      j2_ = 2 * k_ / x_ * j1_ - j0_
      j0_ = j1_: j1_ = j2_
    next
    Jn = s_ * j1_
    returnf
  endif
  m_ = mstart_(n_, x_)
  jp_ = 0: j_ = 1e-300: w_ = 0: r_ = 0
  for k_ = m_ to 1 step -1
    jm_ = 2 * k_ / x_ * j_ - jp_
    jp_ = j_: j_ = jm_
    if abs(j_) > 1e250 then
      j_ = j_ * 1e-250: jp_ = jp_ * 1e-250: w_ = w_ * 1e-250: r_ = r_ * 1e-250
    endif
    if k_ - 1 = n_ then r_ = j_: endif
    if (((k_ - 1) mod 2) = 0) and (k_ > 1) then w_ = w_ + 2 * j_: endif
  next
  Jn = s_ * r_ / (w_ + j_)
endfn

// Bessel function of the second kind, Y_n(x), x > 0. Y_0 and Y_1 come from
// the Neumann series over Miller's J values below 25 and from Hankel's
// expansion above; forward recurrence, stable for Y, gives higher orders.
function Yn(p_n, p_x)
  n_ = p_n: x_ = p_x
  needint_(n_, 0, "Yn: the order n must be a whole number >= 0")
  if x_ <= 0 then argerr_("Yn: x must be > 0"): endif
  if x_ >= 25 then
    h_ = hankel_(0, x_)
    y0_ = h_(1, 2)
    h_ = hankel_(1, x_)
    y1_ = h_(1, 2)
  else
    m_ = mstart_(1, x_)
    jp_ = 0: j_ = 1e-300: w_ = 0: a_ = 0: b_ = 0
    for k_ = m_ to 1 step -1
      jm_ = 2 * k_ / x_ * j_ - jp_
      jp_ = j_: j_ = jm_
      if abs(j_) > 1e250 then
        j_ = j_ * 1e-250: jp_ = jp_ * 1e-250: w_ = w_ * 1e-250: a_ = a_ * 1e-250: b_ = b_ * 1e-250
      endif
      i_ = k_ - 1
      if i_ > 0 then
        if (i_ mod 2) = 0 then
          w_ = w_ + 2 * j_
          c_ = i_ / 2
          if (c_ mod 2) = 0 then a_ = a_ + j_ / c_: else a_ = a_ - j_ / c_: endif
        else
          if i_ >= 3 then
            c_ = (i_ - 1) / 2
            d_ = (2 * c_ + 1) * j_ / (c_ * (c_ + 1))
            if (c_ mod 2) = 0 then b_ = b_ + d_: else b_ = b_ - d_: endif
          endif
        endif
      endif
    next
    w_ = w_ + j_
    j0_ = j_ / w_: j1_ = jp_ / w_
    l_ = lnx_(x_ / 2) + 0.57721566490153286
    y0_ = 0.63661977236758134 * (l_ * j0_ - 2 * a_ / w_)
    y1_ = 0.63661977236758134 * ((l_ - 1) * j1_ - j0_ / x_ - b_ / w_)
  endif
  if n_ = 0 then
    Yn = y0_
    returnf
  endif
  for k_ = 1 to n_ - 1
    y2_ = 2 * k_ / x_ * y1_ - y0_
    y0_ = y1_: y1_ = y2_
  next
  Yn = y1_
endfn

// Modified Bessel function of the first kind, I_n(x), by backward
// recurrence normalised with I_0 + 2 (I_1 + I_2 + ...) = exp(x).
function In(p_n, p_x)
  n_ = p_n: x_ = p_x
  needint_(n_, 0, "In: the order n must be a whole number >= 0")
  s_ = 1
  if x_ < 0 then
    x_ = -x_
    if (n_ mod 2) = 1 then s_ = -1: endif
  endif
  if x_ = 0 then
    In = (n_ = 0)
    returnf
  endif
  m_ = n_ + 20 + sqrt(80 * x_)
  m_ = m_ - frac(m_)
  ip_ = 0: i_ = 1e-300: w_ = 0: r_ = 0
  for k_ = m_ to 1 step -1
    im_ = 2 * k_ / x_ * i_ + ip_
    ip_ = i_: i_ = im_
    if i_ > 1e250 then
      i_ = i_ * 1e-250: ip_ = ip_ * 1e-250: w_ = w_ * 1e-250: r_ = r_ * 1e-250
    endif
    if k_ - 1 = n_ then r_ = i_: endif
    if k_ > 1 then w_ = w_ + 2 * i_: endif
  next
  In = s_ * (r_ / (w_ + i_)) * exp(x_)
endfn

// [K_0, K_1] at x > 0: the power series up to 2, Steed's continued
// fraction (Temme's form for order 0) above.
function k01_(p_x)
  x_ = p_x
  if x_ <= 2 then
    i0_ = In(0, x_)
    i1_ = In(1, x_)
    y_ = x_ * x_ / 4: t_ = 1: k_ = 0: a_ = 0: b_ = 0
    p_ = -0.57721566490153286
    repeat
      a_ = a_ + t_ * p_
      q_ = p_ + 1 / (k_ + 1)
      b_ = b_ + t_ / (k_ + 1) * (p_ + q_)
      k_ = k_ + 1
      t_ = t_ * y_ / (k_ * k_)
      p_ = q_
    until t_ < 1e-18
    l_ = lnx_(x_ / 2)
    k01_ = [a_ - l_ * i0_, 1 / x_ + l_ * i1_ - x_ / 4 * b_]
    returnf
  endif
  b_ = 2 * (1 + x_): d_ = 1 / b_: h_ = d_: e_ = d_
  q1_ = 0: q2_ = 1: q_ = 0.25: c_ = 0.25: a_ = -0.25
  s_ = 1 + q_ * e_
  i_ = 2
  repeat
    a_ = a_ - 2 * (i_ - 1)
    c_ = -a_ * c_ / i_
    r_ = (q1_ - b_ * q2_) / a_
    q1_ = q2_: q2_ = r_
    q_ = q_ + c_ * r_
    b_ = b_ + 2
    d_ = 1 / (b_ + a_ * d_)
    e_ = (b_ * d_ - 1) * e_
    h_ = h_ + e_
    f_ = q_ * e_
    s_ = s_ + f_
    i_ = i_ + 1
  until (abs(f_ / s_) < 1e-17) or (i_ > 1000)
  k0_ = sqrt(1.5707963267948966 / x_) * exp(-x_) / s_
  k01_ = [k0_, k0_ * (x_ + 0.5 - 0.25 * h_) / x_]
endfn

// Modified Bessel function of the second kind, K_n(x), x > 0: K_0 and K_1,
// then forward recurrence, which is stable for K.
function Kn(p_n, p_x)
  n_ = p_n: x_ = p_x
  needint_(n_, 0, "Kn: the order n must be a whole number >= 0")
  if x_ <= 0 then argerr_("Kn: x must be > 0"): endif
  r_ = k01_(x_)
  k0_ = r_(1, 1): k1_ = r_(1, 2)
  if n_ = 0 then
    Kn = k0_
    returnf
  endif
  for k_ = 1 to n_ - 1
    k2_ = k0_ + 2 * k_ / x_ * k1_
    k0_ = k1_: k1_ = k2_
  next
  Kn = k1_
endfn
