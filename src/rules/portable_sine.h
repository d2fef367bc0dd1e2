#pragma once

// sin(x) from additions and multiplications alone, so that every compiler and
// processor gives the same bits: the C library's sin takes another path on a
// processor without fused multiply-add and then differs now and then in the
// last bit, which can change the wiggle a recording replays. Within a few
// units in the last place (away from its zeros) while |x| stays below 10^6, a
// session of 14 hours for the wiggle's 20 × playTime; beyond that less
// accurate, still the same everywhere.
double portableSine(double x);
