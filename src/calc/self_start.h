#pragma once

// Self-start of asynchronous motors after a voltage dip, under the
// self-start methods "K*Iпуск" and "K(t)*Iпуск": every element gets the
// equivalent impedance Zсз of the self-starting motors below it, from which
// the forward sweep computes the self-start current
//   Iсз = (E · K · 1000, 0) / (Z1acc + Zсз),
// K the reduction coefficient of the starting current.
//
// A self-starting motor is an asynchronous motor (kind 42) of a group with
// the self-start flag, or an asynchronous equivalent motor (kind 54): the
// preparation gives exactly these a self-start current of their own. Its
// self-start impedance is its Z1. Up the tree the impedances of parallel
// sections are combined as Z1·Z2 / (Z1 + Z2), a section without motors (zero)
// left out; every element adds its own Z1 in series, and a transformer refers
// the impedance to its source side by 1/Kт². An element with no self-starting
// motor below keeps Zсз = 0 and no self-start current is computed for it.

namespace kordavelt {

class CalcClass;

// ElementRec::zSelfStart of every element of the traced tree. Always succeeds.
bool SelfStartImpedances(CalcClass& calc);

// The reduction coefficient K of the starting current for the voltage
// restoration time t (s) under "K(t)*Iпуск": the table
//   t 0    0.3  0.45  0.75  1.00  1.4  2.00  2.4  3.00  4.0   40
//   K 0.2  0.4  0.50  0.60  0.64  0.7  0.77  0.8  0.83  0.88  1
// read linearly and extended along its first and last segments. The
// settings dialog stores it as "Коэффициент снижения пускового тока АД"
// when the user enters t.
long double StartCurrentReductionAt(long double restorationTime);

}  // namespace kordavelt
