// Upper tail probabilities of the normal, chi-square, Student's t and F
// distributions and of the binomial, Poisson and hypergeometric counts. The
// library's house rules are in gamma_bessel.prg.
//
// The continuous tails rest on two helpers that return both the lower and
// the upper part, [P, Q], each computed directly where it is the small one,
// so that neither loses its relative accuracy to a subtraction from 1.

// Regularised incomplete gamma [P(a, x), Q(a, x)], a > 0: the series below
// a + 1, Lentz's continued fraction for Q above.
function gammapq_(p_a, p_x)
  a_ = p_a: x_ = p_x
  if x_ <= 0 then
    gammapq_ = [0, 1]
    returnf
  endif
  l_ = lnx_(x_)
  l_ = a_ * l_ - x_ - lgam_(a_)
  if x_ < a_ + 1 then
    d_ = 1 / a_: s_ = d_: c_ = a_
    repeat
      c_ = c_ + 1
      d_ = d_ * x_ / c_
      s_ = s_ + d_
    until d_ < s_ * 1e-17
    p_ = s_ * exp(l_)
    gammapq_ = [p_, 1 - p_]
    returnf
  endif
  b_ = x_ + 1 - a_: c_ = 1e300: d_ = 1 / b_: h_ = d_: i_ = 0
  repeat
    i_ = i_ + 1
    e_ = -i_ * (i_ - a_)
    b_ = b_ + 2
    d_ = e_ * d_ + b_
    if (d_ < 1e-300) and (d_ > -1e-300) then d_ = 1e-300: endif
    c_ = b_ + e_ / c_
    if (c_ < 1e-300) and (c_ > -1e-300) then c_ = 1e-300: endif
    d_ = 1 / d_
    f_ = d_ * c_
    h_ = h_ * f_
  until (abs(f_ - 1) < 1e-16) or (i_ > 5000)
  q_ = exp(l_) * h_
  gammapq_ = [1 - q_, q_]
endfn

// Continued fraction of the incomplete beta function (modified Lentz).
function betacf_(p_a, p_b, p_x)
  a_ = p_a: b_ = p_b: x_ = p_x
  c_ = 1: d_ = 1 - (a_ + b_) * x_ / (a_ + 1)
  if (d_ < 1e-300) and (d_ > -1e-300) then d_ = 1e-300: endif
  d_ = 1 / d_: h_ = d_: m_ = 0
  repeat
    m_ = m_ + 1
    e_ = m_ * (b_ - m_) * x_ / ((a_ - 1 + 2 * m_) * (a_ + 2 * m_))
    d_ = 1 + e_ * d_
    if (d_ < 1e-300) and (d_ > -1e-300) then d_ = 1e-300: endif
    c_ = 1 + e_ / c_
    if (c_ < 1e-300) and (c_ > -1e-300) then c_ = 1e-300: endif
    d_ = 1 / d_
    h_ = h_ * d_ * c_
    e_ = -(a_ + m_) * (a_ + b_ + m_) * x_ / ((a_ + 2 * m_) * (a_ + 1 + 2 * m_))
    d_ = 1 + e_ * d_
    if (d_ < 1e-300) and (d_ > -1e-300) then d_ = 1e-300: endif
    c_ = 1 + e_ / c_
    if (c_ < 1e-300) and (c_ > -1e-300) then c_ = 1e-300: endif
    d_ = 1 / d_
    f_ = d_ * c_
    h_ = h_ * f_
  until (abs(f_ - 1) < 1e-16) or (m_ > 5000)
  betacf_ = h_
endfn

// Regularised incomplete beta [I_x(a, b), 1 - I_x(a, b)], given x and
// y = 1 - x each to full accuracy.
function ibeta_(p_a, p_b, p_x, p_y)
  a_ = p_a: b_ = p_b: x_ = p_x: y_ = p_y
  if x_ <= 0 then
    ibeta_ = [0, 1]
    returnf
  endif
  if y_ <= 0 then
    ibeta_ = [1, 0]
    returnf
  endif
  l_ = lgam_(a_ + b_)
  g_ = lgam_(a_)
  l_ = l_ - g_
  g_ = lgam_(b_)
  l_ = l_ - g_
  g_ = lnx_(x_)
  l_ = l_ + a_ * g_
  g_ = lnx_(y_)
  l_ = l_ + b_ * g_
  if x_ < (a_ + 1) / (a_ + b_ + 2) then
    c_ = betacf_(a_, b_, x_)
    p_ = exp(l_) * c_ / a_
    ibeta_ = [p_, 1 - p_]
  else
    c_ = betacf_(b_, a_, y_)
    q_ = exp(l_) * c_ / b_
    ibeta_ = [1 - q_, q_]
  endif
endfn

// Upper tail P(Z > x) of the standard normal distribution.
function normal(p_x)
  x_ = p_x
  r_ = gammapq_(0.5, x_ * x_ / 2)
  if x_ >= 0 then
    normal = 0.5 * r_(1, 2)
  else
    normal = 0.5 + 0.5 * r_(1, 1)
  endif
endfn

// Upper tail of the chi-square distribution with n degrees of freedom.
function upperX(p_n, p_x)
  n_ = p_n: x_ = p_x
  needint_(n_, 1, "upperX: the degrees of freedom n must be a whole number >= 1")
  r_ = gammapq_(n_ / 2, x_ / 2)
  upperX = r_(1, 2)
endfn

// Upper tail P(T > t) of Student's t distribution with n degrees of freedom.
function upperT(p_n, p_t)
  n_ = p_n: t_ = p_t
  needint_(n_, 1, "upperT: the degrees of freedom n must be a whole number >= 1")
  w_ = n_ + t_ * t_
  r_ = ibeta_(n_ / 2, 0.5, n_ / w_, t_ * t_ / w_)
  if t_ >= 0 then
    upperT = 0.5 * r_(1, 1)
  else
    upperT = 0.5 + 0.5 * r_(1, 2)
  endif
endfn

// Upper tail of the F distribution with n1 and n2 degrees of freedom.
function upperF(p_n1, p_n2, p_x)
  a_ = p_n1: b_ = p_n2: x_ = p_x
  needint_(a_, 1, "upperF: the degrees of freedom n1 must be a whole number >= 1")
  needint_(b_, 1, "upperF: the degrees of freedom n2 must be a whole number >= 1")
  if x_ <= 0 then
    upperF = 1
    returnf
  endif
  w_ = b_ + a_ * x_
  r_ = ibeta_(b_ / 2, a_ / 2, b_ / w_, a_ * x_ / w_)
  upperF = r_(1, 1)
endfn

// P(X >= x) for the binomial distribution of n trials with probability p.
function upperB(p_n, p_p, p_x)
  n_ = p_n: p_ = p_p: x_ = p_x
  needint_(n_, 0, "upperB: the number of trials n must be a whole number >= 0")
  if (p_ < 0) or (p_ > 1) then argerr_("upperB: the probability p must lie between 0 and 1"): endif
  needint_(x_, -1e300, "upperB: x must be a whole number")
  if x_ <= 0 then
    upperB = 1
    returnf
  endif
  if (x_ > n_) or (p_ = 0) then
    upperB = 0
    returnf
  endif
  r_ = ibeta_(x_, n_ - x_ + 1, p_, 1 - p_)
  upperB = r_(1, 1)
endfn

// P(X >= x) for the Poisson distribution of mean lambda.
function upperP(p_lambda, p_x)
  l_ = p_lambda: x_ = p_x
  if l_ <= 0 then argerr_("upperP: the mean lambda must be > 0"): endif
  needint_(x_, -1e300, "upperP: x must be a whole number")
  if x_ <= 0 then
    upperP = 1
    returnf
  endif
  r_ = gammapq_(x_, l_)
  upperP = r_(1, 1)
endfn

// Logarithm of the binomial coefficient (a over b).
function lchoose_(p_a, p_b)
  a_ = p_a: b_ = p_b
  c_ = lgam_(a_ + 1)
  d_ = lgam_(b_ + 1)
  e_ = lgam_(a_ - b_ + 1)
  lchoose_ = c_ - d_ - e_
endfn

// P(X >= x) for the hypergeometric distribution: n drawn from N of which M
// are successes. The terms are summed outward from the one next to x, on
// the side of x away from the mode, where they fall off; the first term
// comes from logarithms, so tails down to the smallest doubles keep their
// relative accuracy.
function upperH(p_total, p_succ, p_drawn, p_x)
  t_ = p_total: m_ = p_succ: n_ = p_drawn: x_ = p_x
  needint_(t_, 0, "upperH: the population N must be a whole number >= 0")
  needint_(m_, 0, "upperH: the successes M must be a whole number from 0 to N")
  needint_(n_, 0, "upperH: the number drawn n must be a whole number from 0 to N")
  needint_(x_, -1e300, "upperH: x must be a whole number")
  if m_ > t_ then argerr_("upperH: the successes M must be a whole number from 0 to N"): endif
  if n_ > t_ then argerr_("upperH: the number drawn n must be a whole number from 0 to N"): endif
  f_ = t_ - m_
  lo_ = n_ - f_
  if lo_ < 0 then lo_ = 0: endif
  hi_ = n_
  if m_ < hi_ then hi_ = m_: endif
  if x_ <= lo_ then
    upperH = 1
    returnf
  endif
  if x_ > hi_ then
    upperH = 0
    returnf
  endif
  c_ = lchoose_(t_, n_)
  mo_ = (n_ + 1) * (m_ + 1) / (t_ + 2)
  if x_ > mo_ then
    k_ = x_
  else
    k_ = x_ - 1
  endif
  a_ = lchoose_(m_, k_)
  b_ = lchoose_(f_, n_ - k_)
  e_ = exp(a_ + b_ - c_)
  s_ = e_
  if x_ > mo_ then
    while (k_ < hi_) and (e_ >= s_ * 1e-17) do
      e_ = e_ * (m_ - k_) * (n_ - k_) / ((k_ + 1) * (f_ - n_ + k_ + 1))
      k_ = k_ + 1
      s_ = s_ + e_
    endwhile
    upperH = s_
  else
    while (k_ > lo_) and (e_ >= s_ * 1e-17) do
      e_ = e_ * k_ * (f_ - n_ + k_) / ((m_ - k_ + 1) * (n_ - k_ + 1))
      k_ = k_ - 1
      s_ = s_ + e_
    endwhile
    upperH = 1 - s_
  endif
endfn
