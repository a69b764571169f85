#pragma once

// Starting currents of asynchronous motors from the network impedance (the
// starting-current method "Iп=Ec/Zп"). The design-load sweep has already
// given every motor the starting current of its catalogue data and summed
// the starting currents up the tree; this step replaces them:
//
//  1. From the source down, the impedance Zсум between the source EMF and
//     every element, the element's own impedance included, is accumulated
//     with the EMF referred to the element's level:
//       Zсум(element) = Zсум(start) · Kт² + Z1,   E(element) = E(start) · Kт,
//     starting from the source's Z1 and phase EMF E = Unom · Emax / √3.
//     Each element keeps its Zсум (ElementRec::z1Cumulative, mΩ).
//  2. An asynchronous motor (kind 42) starts with Iп = E / Zсум · 1000 (A);
//     an asynchronous equivalent motor (kind 54) with Iп = Ia − Iм + E / Zсум,
//     Iм the running current of its starting motor. Their impedance is the
//     locked-rotor impedance the preparation gives as Z1 ((0.96·r1 + r2, x″)
//     on the motor's base; (0.07 + j0.18) · Unom² / |S| for kind 54). A motor
//     without that impedance (no catalogue type) keeps its catalogue Iп.
//  3. From the leaves up, the sections are combined again by the merge rule
//     of starting currents (the section with the larger |Iп| keeps its Iп and
//     tп and the other section's Ia is added), referred by Kт at transformers,
//     and every element gets the Iп and tп of the section below it.

namespace kordavelt {

class CalcClass;

// Steps 1 to 3 above over the traced tree. Always succeeds.
bool StartCurrentsFromNetwork(CalcClass& calc);

}  // namespace kordavelt
