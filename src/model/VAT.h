#pragma once
// Whether prices include VAT, and the VAT class of a price. A class's percentage comes from the
// setup (TSetup::GetVATValue).
namespace lintaro {

enum TVATMode { vmWithVAT = 0, vmWithOutVAT = 1 };
enum TVATRate { vrZero = 0, vrLow = 1, vrHigh = 2 };

} // namespace lintaro
