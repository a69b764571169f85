#pragma once

// Constants of the network calculation, used exactly as the calculation has
// always written them (not the true values to full precision), so that results
// agree digit for digit with earlier calculations of the same network.

namespace kordavelt {

inline constexpr long double kSqrt3 = 1.732051L;
inline constexpr long double kInvSqrt3 = 0.57735L;
inline constexpr long double kPi = 3.1415927L;
inline constexpr long double kOmega = 314.15927L;  // angular frequency at 50 Hz, 1/s

}  // namespace kordavelt
