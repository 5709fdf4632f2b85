#pragma once
// The two-sided 95% quantile of Student's t distribution: t with P{|T| <= t} = 0.95 for the
// given degrees of freedom, to six digits. Exact values up to 30 degrees of freedom, above them
// the Cornish-Fisher expansion about the normal quantile 1.959964 (error below 1e-6 there).
//
//   StudentT975(1) -> 12.7062    StudentT975(9) -> 2.26216    StudentT975(1000) -> 1.96234

namespace wachtrix {

// degreesOfFreedom >= 1.
double StudentT975(int degreesOfFreedom);

}  // namespace wachtrix
