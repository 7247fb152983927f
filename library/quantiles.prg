// Percentage points: the x at which an upper tail of the normal,
// chi-square, Student's t or F distribution equals p. The library's house
// rules are in gamma_bessel.prg.
//
// Each inverse starts from an approximation and refines it by a safeguarded
// Newton iteration on u = ln x against the logarithm of whichever tail is
// the smaller one. In those variables the tails are close to straight lines
// (power-law tails) or gentle curves (exponential tails), so a few steps
// reach full accuracy even for p = 1e-300.

// Approximate upper point of the standard normal distribution for a tail
// q <= 0.5 (Acklam's rational approximations, relative error about 1e-9).
function nq0_(p_q)
  q_ = p_q
  if q_ < 0.02425 then
    r_ = (-2 * lnx_(q_)) ^ 0.5
    nq0_ = -(((((-7.784894002430293e-03 * r_ - 3.223964580411365e-01) * r_ - 2.400758277161838e+00) * r_ - 2.549732539343734e+00) * r_ + 4.374664141464968e+00) * r_ + 2.938163982698783e+00) / ((((7.784695709041462e-03 * r_ + 3.224671290700398e-01) * r_ + 2.445134137142996e+00) * r_ + 3.754408661907416e+00) * r_ + 1)
  else
    s_ = q_ - 0.5
    r_ = s_ * s_
    nq0_ = -(((((-3.969683028665376e+01 * r_ + 2.209460984245205e+02) * r_ - 2.759285104469687e+02) * r_ + 1.383577518672690e+02) * r_ - 3.066479806614716e+01) * r_ + 2.506628277459239e+00) * s_ / (((((-5.447609879822406e+01 * r_ + 1.615858368580409e+02) * r_ - 1.556989798598866e+02) * r_ + 6.680131188771972e+01) * r_ - 1.328068155288572e+01) * r_ + 1)
  endif
endfn

// [lower tail, upper tail, ln density] at x > 0 for distribution k: 1 normal,
// 2 chi-square with a degrees of freedom, 3 Student's t with a, 4 F with a
// and b.
function tails_(p_k, p_a, p_b, p_x)
  k_ = p_k: a_ = p_a: b_ = p_b: x_ = p_x
  if k_ = 1 then
    z_ = x_ * x_ / 2
    r_ = gammapq_(0.5, z_)
    tails_ = [0.5 + 0.5 * r_(1, 1), 0.5 * r_(1, 2), -0.91893853320467274 - z_]
  endif
  if k_ = 2 then
    r_ = gammapq_(a_ / 2, x_ / 2)
    l_ = lnx_(x_ / 2)
    l_ = (a_ / 2 - 1) * l_ - x_ / 2 - lgam_(a_ / 2)
    tails_ = [r_(1, 1), r_(1, 2), l_ - 0.69314718055994531]
  endif
  if k_ = 3 then
    w_ = a_ + x_ * x_
    r_ = ibeta_(a_ / 2, 0.5, a_ / w_, x_ * x_ / w_)
    l_ = lgam_((a_ + 1) / 2)
    g_ = lgam_(a_ / 2)
    h_ = lnx_(w_ / a_)
    l_ = l_ - g_ - 0.5 * ln(a_ * 3.141592653589793) - (a_ + 1) / 2 * h_
    tails_ = [0.5 + 0.5 * r_(1, 2), 0.5 * r_(1, 1), l_]
  endif
  if k_ = 4 then
    w_ = b_ + a_ * x_
    r_ = ibeta_(b_ / 2, a_ / 2, b_ / w_, a_ * x_ / w_)
    l_ = lgam_((a_ + b_) / 2)
    g_ = lgam_(a_ / 2)
    l_ = l_ - g_
    g_ = lgam_(b_ / 2)
    l_ = l_ - g_ + a_ / 2 * ln(a_ / b_)
    g_ = lnx_(x_)
    l_ = l_ + (a_ / 2 - 1) * g_
    g_ = lnx_(w_ / b_)
    l_ = l_ - (a_ + b_) / 2 * g_
    tails_ = [r_(1, 2), r_(1, 1), l_]
  endif
endfn

// Stops with a message unless 0 < p < 1.
sub needp_(p_, m_)
  if (p_ <= 0) or (p_ >= 1) then argerr_(m_): endif
endsub

// The x at which the upper tail of distribution k (see tails_) equals p.
// Normal and t are symmetric: above p = 0.5 the point is minus the point of
// 1 - p, which is exact there.
function quant_(p_k, p_a, p_b, p_p)
  k_ = p_k: a_ = p_a: b_ = p_b: p_ = p_p
  g_ = 1: j_ = 2: q_ = p_
  if (k_ = 1) or (k_ = 3) then
    if p_ = 0.5 then
      quant_ = 0
      returnf
    endif
    if p_ > 0.5 then
      g_ = -1: q_ = 1 - p_
    endif
  else
    if p_ > 0.5 then
      j_ = 1: q_ = 1 - p_
    endif
  endif
  // Starting point.
  z_ = nq0_(q_)
  if j_ = 1 then z_ = -z_: endif
  x_ = z_
  if k_ = 2 then
    c_ = 2 / (9 * a_)
    x_ = a_ * (1 - c_ + z_ * c_ ^ 0.5) ^ 3
    if (j_ = 1) or (x_ <= 0) then
      l_ = lnx_(q_)
      l_ = (l_ + lgam_(a_ / 2 + 1)) * 2 / a_
      e_ = 2 * exp(l_)
      if (x_ <= 0) or (e_ < x_) then x_ = e_: endif
    endif
  endif
  if k_ = 3 then
    x_ = z_ + (z_ ^ 3 + z_) / (4 * a_) + (5 * z_ ^ 5 + 16 * z_ ^ 3 + 3 * z_) / (96 * a_ * a_)
    l_ = lgam_(a_ / 2)
    l_ = l_ + 0.5723649429247001 - lgam_(a_ / 2 + 0.5)
    l_ = (lnx_(q_ * a_) + l_) / a_
    e_ = a_ ^ 0.5 * exp(-l_)
    if e_ > 3 * a_ ^ 0.5 then x_ = e_: endif
  endif
  if k_ = 4 then x_ = 1: endif
  // Newton on u = ln x for f(u) = +-(ln T(e^u) - ln q), decreasing in u.
  u_ = lnx_(x_)
  m_ = lnx_(q_)
  lo_ = -1e300: hi_ = 1e300: i_ = 0
  repeat
    i_ = i_ + 1
    x_ = exp(u_)
    r_ = tails_(k_, a_, b_, x_)
    t_ = r_(1, j_)
    if t_ <= 0 then
      // The tail underflowed: this side is too far out.
      if j_ = 2 then
        hi_ = u_: d_ = -20
      else
        lo_ = u_: d_ = 20
      endif
    else
      l_ = lnx_(t_)
      f_ = l_ - m_
      if j_ = 1 then f_ = -f_: endif
      if f_ > 0 then lo_ = u_: else hi_ = u_: endif
      // The slope x density / T, formed in logarithms: the density
      // underflows far out in a power-law tail.
      d_ = exp(u_ + r_(1, 3) - l_)
      if d_ > 0 then
        d_ = f_ / d_
      else
        d_ = 20 * f_
      endif
    endif
    if d_ > 100 then d_ = 100: endif
    if d_ < -100 then d_ = -100: endif
    v_ = u_ + d_
    if (v_ < lo_) or (v_ > hi_) then
      if (lo_ > -1e300) and (hi_ < 1e300) then v_ = (lo_ + hi_) / 2: endif
    endif
    d_ = v_ - u_
    u_ = v_
    e_ = 1
    if u_ < -1 then e_ = -u_: endif
    if u_ > 1 then e_ = u_: endif
  until ((d_ < 1e-14 * e_) and (d_ > -1e-14 * e_)) or (i_ >= 200)
  quant_ = g_ * exp(u_)
endfn

// Upper point of the standard normal distribution: normal(x) = p.
function upperNi(p_p)
  p_ = p_p
  needp_(p_, "upperNi: p must lie strictly between 0 and 1")
  upperNi = quant_(1, 0, 0, p_)
endfn

// Upper point of the chi-square distribution: upperX(n, x) = p.
function upperXi(p_n, p_p)
  n_ = p_n: p_ = p_p
  needint_(n_, 1, "upperXi: the degrees of freedom n must be a whole number >= 1")
  needp_(p_, "upperXi: p must lie strictly between 0 and 1")
  upperXi = quant_(2, n_, 0, p_)
endfn

// Upper point of Student's t distribution: upperT(n, t) = p.
function upperTi(p_n, p_p)
  n_ = p_n: p_ = p_p
  needint_(n_, 1, "upperTi: the degrees of freedom n must be a whole number >= 1")
  needp_(p_, "upperTi: p must lie strictly between 0 and 1")
  upperTi = quant_(3, n_, 0, p_)
endfn

// Upper point of the F distribution: upperF(n1, n2, x) = p.
function upperFi(p_n1, p_n2, p_p)
  a_ = p_n1: b_ = p_n2: p_ = p_p
  needint_(a_, 1, "upperFi: the degrees of freedom n1 must be a whole number >= 1")
  needint_(b_, 1, "upperFi: the degrees of freedom n2 must be a whole number >= 1")
  needp_(p_, "upperFi: p must lie strictly between 0 and 1")
  upperFi = quant_(4, a_, b_, p_)
endfn
