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
      {"06000e0076790f0f0fe6", "0534", "Pista: la linea es correcta"},
      {Data.substr(1), "534", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      {"06000E0076790F0F0FG6", "534", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      {Data, "53x", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      {Data, "", "Pista: hacen falta 20 digitos hexadecimales y una suma"},
      // F for E, high digit: the look-alike, then other digits by place; a third does not fit.
      {"06000E0076790F0F0FF6", "534", "Pista: posicion 19: E en vez de F; posicion 9: 6 en vez de 7"},
      {"06000e0076790f0f0ff6", "534", "Pista: posicion 19: E en vez de F; posicion 9: 6 en vez de 7"},
      // B for 6, low digit: the look-alike, then the checksum itself.
      {"06000E0076790F0F0FEB", "534", "Pista: posicion 20: 6 en vez de B; suma 539 en vez de 534"},
      {"D6000E0076790F0F0FE6", "534", "Pista: posicion 1: 0 en vez de D; posicion 19: 1 en vez de E"},
      // Swaps inside a byte and across two, before single digits.
      {"06000E0067790F0F0FE6", "534",
       "Pista: posiciones 9-10: 76 en vez de 67; posiciones 18-19: EF en vez de FE"},
      {Data, "543", "Pista: suma 534 en vez de 543; posicion 2: F en vez de 6"},
      {Data, "5340", "Pista: suma 534 en vez de 5340"},
      {Data, "53", "Pista: suma 534 en vez de 53"},
      // Two faults at once: no single change explains them.
      {"06000E0076790F0F0FFB", "534", "Pista: ningun cambio de un digito cuadra la suma"}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(HintText(FindTypos(c.data, c.checksum)), c.hint) << c.data << " " << c.checksum;
}

bool Suggests(const TypoFinding& finding, int position, const std::string& fix) {
  for (const TypoSuggestion& s : finding.suggestions)
    if (s.position == position && s.fix == fix) return true;
  return false;
}

// Any single misread digit, swap of two neighbours or slip in the checksum of a correct line
// is among the suggestions.
TEST(TypoFinder, EverySingleSlipIsFound) {
  const std::string hex = "0123456789ABCDEF";
  for (const std::string& data : {Data, std::string("0102030405060708090A"),
                                  std::string("FFFFFFFFFFFFFFFFFFFF"), std::string(20, '0')}) {
    int sum = 0;
    for (int i = 0; i < 20; i += 2) sum += std::stoi(data.substr(i, 2), nullptr, 16);
    const std::string checksum = std::to_string(sum);
    for (int place = 0; place < 20; ++place) {
      for (char digit : hex) {
        std::string typed = data;
        typed[place] = digit;
        if (digit != data[place]) {
          EXPECT_TRUE(Suggests(FindTypos(typed, checksum), place + 1, data.substr(place, 1)))
              << typed;
        }
      }
      std::string swapped = data;
      if (place == 19 || data[place] == data[place + 1]) continue;
      std::swap(swapped[place], swapped[place + 1]);
      EXPECT_TRUE(Suggests(FindTypos(swapped, checksum), place + 1, data.substr(place, 2)))
          << swapped;
    }
    for (size_t at = 0; at <= checksum.size(); ++at) {
      std::vector<std::string> slips = {checksum.substr(0, at) + "7" + checksum.substr(at)};
      if (at < checksum.size()) {
        slips.push_back(checksum.substr(0, at) + checksum.substr(at + 1));
        slips.push_back(checksum.substr(0, at) + "9" + checksum.substr(at + 1));
      }
      if (at + 1 < checksum.size())
        slips.push_back(checksum.substr(0, at) + checksum[at + 1] + checksum[at] +
                        checksum.substr(at + 2));
      for (const std::string& typed : slips)
        if (typed != checksum && !typed.empty()) {
          EXPECT_TRUE(Suggests(FindTypos(data, typed), 0, checksum)) << data << " " << typed;
        }
    }
  }
}

}  // namespace
