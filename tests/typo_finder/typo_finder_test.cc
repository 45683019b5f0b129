#include "typo_finder/typo_finder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string Data = "06000E0076790F0F0FE6";  // sums to 534

// The same line typed with faults: the hint names the likeliest fixes first.
TEST(TypoFinder, HintsForTypedLines) {
  // clang-format off
  const struct { std::string data, checksum, hint; } cases[] = {
      {Data, "534", "Pista: la linea es correcta"},
      {Data, "0534", "Pista: la linea es correcta"},
      {Data.substr(1), "534", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      // Letters typed for digits are named first, alone when they are all that is wrong.
      {"06000E007679OF0F0FE6", "534", "Pista: posicion 13: 0 en vez de O"},
      {"06000E0076790F0F0FE6", "5S4", "Pista: suma 554 en vez de 5S4; suma 534 en vez de 554"},
      {"06000E0076790F0F0FG6", "534", "Pista: posicion 19: 6 en vez de G; posicion 1: 8 en vez de 0"},
      {"06000E0076790F0F0FX6", "534", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      // A look-alike in the checksum ranks with those in the data.
      {"06000E0076790F0F0FEA", "533", "Pista: suma 538 en vez de 533; posicion 2: 1 en vez de 6"},
      {Data, "53x", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      {Data, "", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      // F for E, high digit: the look-alike, then other digits by place; a third does not fit.
      {"06000E0076790F0F0FF6", "534", "Pista: posicion 19: E en vez de F; posicion 9: 6 en vez de 7"},
      // B for 6, low digit: the look-alike, then the checksum itself.
      {"06000E0076790F0F0FEB", "534", "Pista: posicion 20: 6 en vez de B; suma 539 en vez de 534"},
      {"D6000E0076790F0F0FE6", "534", "Pista: posicion 1: 0 en vez de D; posicion 19: 1 en vez de E"},
      // Swaps inside a byte and across two, before single digits.
      {"06000E0067790F0F0FE6", "534",
       "Pista: posiciones 9-10: 76 en vez de 67; posiciones 18-19: EF en vez de FE"},
      {"60000E0076790F0F0FE6", "534", "Pista: posiciones 1-2: 06 en vez de 60"},
      {Data, "543", "Pista: suma 534 en vez de 543; posicion 2: F en vez de 6"},
      {Data, "634", "Pista: suma 534 en vez de 634"},
      {Data, "5340", "Pista: suma 534 en vez de 5340"},
      {Data, "53", "Pista: suma 534 en vez de 53"},
      // Two faults at once: no single change explains them.
      {"06000E0076790F0F0FFB", "534", "Pista: ningun cambio de un digito cuadra la suma"}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(HintText(FindTypos(c.data, c.checksum)), c.hint) << c.data << " " << c.checksum;
}

}  // namespace
