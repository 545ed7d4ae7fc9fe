# Deals a test program's cases to its lanes: reads the program's --gtest_list_tests listing
# on its input and prints the cases of lane k (0-based) of n, one full name a line.
#
#   awk -v n=<lanes> -v k=<lane> [-v weights=<file>] -f lane_deal.awk <listing>
#
# The listing holds "Suite." lines, each followed by its "  Case" lines (a parameterised
# case with a "# GetParam() = ..." note after its name, a typed suite with a "# TypeParam"
# note after its own); any other line (the "Running main()" line) is no case. The weights
# file gives the seconds of the long cases as "<seconds> <Suite.Case>" lines; a case it does
# not name, or every case when the file is missing or empty, counts as half a second. Each
# case, longest first, goes to the lane with the least so far (the lowest of equal lanes),
# so every case falls to exactly one lane and every lane computes the same split from the
# same listing. With -v k=-1 it prints every case with its lane instead, as "<lane> <name>".
BEGIN {
  m = 0
  if (weights != "") {
    while ((getline line < weights) > 0) {
      split(line, f, " ")
      if (f[1] ~ /^[0-9]+(\.[0-9]*)?$/ && f[2] != "") w[f[2]] = f[1] + 0
    }
    close(weights)
  }
}
{ sub(/\r$/, "") }
/^[^ ]/ { suite = ($1 ~ /\.$/) ? $1 : ""; next }
/^  [^ ]/ && suite != "" {
  name[m] = suite $1
  cost[m] = (suite $1 in w) ? w[suite $1] : 0.5
  m++
}
END {
  # Longest first; equal costs keep the listing order, so the split is stable.
  for (i = 0; i < m; i++) order[i] = i
  for (i = 1; i < m; i++) {
    j = order[i]; p = i - 1
    while (p >= 0 && cost[order[p]] < cost[j]) { order[p + 1] = order[p]; p-- }
    order[p + 1] = j
  }
  for (l = 0; l < n; l++) load[l] = 0
  for (i = 0; i < m; i++) {
    c = order[i]; best = 0
    for (l = 1; l < n; l++) if (load[l] < load[best]) best = l
    load[best] += cost[c]
    if (k < 0) print best, name[c]
    else if (best == k) print name[c]
  }
}
