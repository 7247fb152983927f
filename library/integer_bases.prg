// Whole numbers written in other bases: hex, oct and bin give the digits
// of a number of the 32-bit range as a string, negatives in two's
// complement; base reads digits of any base from 2 to 36 back. The
// library's house rules are in gamma_bessel.prg.

// The digits of p_n in base p_b, capital letters from 10 up. p_n must be a
// whole number from -2^31 to 2^32 - 1, otherwise the message p_m stops
// the caller; a negative number stands for itself plus 2^32.
function digits_(p_n, p_b, p_m)
  n_ = p_n
  needint_(n_, -2147483648, p_m)
  if n_ > 4294967295 then argerr_(p_m): endif
  if n_ < 0 then n_ = n_ + 4294967296: endif
  dg_ = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
  r_ = ""
  repeat
    d_ = (n_ mod p_b)
    r_ = dg_(d_ + 1) + r_
    n_ = (n_ - d_) / p_b
  until n_ = 0
  digits_ = r_
endfn

// n in hexadecimal, octal and binary.
function hex(p_n)
  hex = digits_(p_n, 16, "hex: n must be a whole number from -2147483648 to 4294967295")
endfn

function oct(p_n)
  oct = digits_(p_n, 8, "oct: n must be a whole number from -2147483648 to 4294967295")
endfn

function bin(p_n)
  bin = digits_(p_n, 2, "bin: n must be a whole number from -2147483648 to 4294967295")
endfn

// The number written in s with the digits of base b: 0 to 9, then the
// letters of either case from 10 up; a leading "-" negates it. Digits past
// the precision of a double are rounded as the sum goes.
function base(p_s, p_b)
  s_ = p_s
  b_ = p_b
  m_ = "base: the base b must be a whole number from 2 to 36"
  needint_(b_, 2, m_)
  if b_ > 36 then argerr_(m_): endif
  m_ = "base: s must hold digits of base b only, after an optional -"
  l_ = len(s_)
  i_ = 1
  g_ = 1
  if l_ > 0 then
    if s_(1) = "-" then
      g_ = -1
      i_ = 2
    endif
  endif
  if i_ > l_ then argerr_(m_): endif
  dg_ = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
  v_ = 0
  while i_ <= l_ do
    c_ = s_(i_)
    d_ = -1
    k_ = 1
    while k_ <= b_ do
      if dg_(k_) = c_ then
        d_ = k_ - 1
        k_ = b_
      endif
      k_ = k_ + 1
    endwhile
    if d_ < 0 then argerr_(m_): endif
    v_ = v_ * b_ + d_
    i_ = i_ + 1
  endwhile
  base = g_ * v_
endfn
