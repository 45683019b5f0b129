#include "typo_finder/typo_finder.h"

#include <algorithm>
#include <array>

#include "listing/line_check.h"

namespace {

constexpr std::string_view HexDigits = "0123456789ABCDEF";
constexpr std::string_view LookAlikePairs[] = {"0D", "08", "8B", "6B", "38", "17", "EF", "56"};
// Letters typists put for the digits they look like.
constexpr std::string_view Letters = "OoIlSsGZ";
constexpr std::string_view LetterDigits = "00115562";
constexpr size_t MaxHintLength = 78;
constexpr size_t MaxHintSuggestions = 3;

using Digits = std::array<int, DataDigits>;

Digits ReadDigits(std::string_view data) {
  Digits digits;
  for (size_t i = 0; i < DataDigits; ++i) digits[i] = HexDigitValue(data[i]);
  return digits;
}

// Odd places are the high halves of their bytes.
int Sum(const Digits& digits) {
  int sum = 0;
  for (size_t i = 0; i < DataDigits; i += 2) sum += digits[i] * 16 + digits[i + 1];
  return sum;
}

bool IsLookAlike(int a, int b) {
  for (std::string_view pair : LookAlikePairs)
    if ((HexDigitValue(pair[0]) == a && HexDigitValue(pair[1]) == b) ||
        (HexDigitValue(pair[0]) == b && HexDigitValue(pair[1]) == a))
      return true;
  return false;
}

// One character changed, added or dropped, or two neighbours swapped.
bool OneSlipAway(std::string_view a, std::string_view b) {
  if (a.size() < b.size()) std::swap(a, b);
  size_t first = 0;
  while (first < b.size() && a[first] == b[first]) ++first;
  if (a.size() == b.size() + 1) return a.substr(first + 1) == b.substr(first);
  if (a.size() != b.size() || first == a.size()) return false;
  if (a.substr(first + 1) == b.substr(first + 1)) return true;
  return first + 1 < a.size() && a[first] == b[first + 1] && a[first + 1] == b[first] &&
         a.substr(first + 2) == b.substr(first + 2);
}

std::string DigitText(int value) { return std::string(1, HexDigits[static_cast<size_t>(value)]); }

// Each letter that stands for a digit is put right, and named; the checksum's as one.
std::vector<TypoSuggestion> ReadLettersAsDigits(std::string& data, std::string& checksum) {
  std::vector<TypoSuggestion> letters;
  for (size_t k = 0; k < data.size(); ++k)
    if (const size_t at = Letters.find(data[k]); at != std::string_view::npos) {
      letters.push_back({TypoKind::LookAlike, static_cast<int>(k) + 1, std::string(1, data[k]),
                         std::string(1, LetterDigits[at])});
      data[k] = LetterDigits[at];
    }
  const std::string typed = checksum;
  for (char& c : checksum)
    if (const size_t at = Letters.find(c); at != std::string_view::npos) c = LetterDigits[at];
  if (checksum != typed) letters.push_back({TypoKind::LookAlike, 0, typed, checksum});
  return letters;
}

// The typed checksum is the sum but for one look-alike digit: as likely as one in the data.
bool LookAlikeChecksum(std::string_view typed, std::string_view sum) {
  if (typed.size() != sum.size()) return false;
  size_t differing = 0, at = 0;
  for (size_t k = 0; k < typed.size(); ++k)
    if (typed[k] != sum[k]) ++differing, at = k;
  return differing == 1 && IsLookAlike(HexDigitValue(typed[at]), HexDigitValue(sum[at]));
}

}  // namespace

TypoFinding FindTypos(std::string_view data, std::string_view checksum) {
  if (CheckLine(data, checksum).Correct()) return {LineVerdict::Correct, {}};
  std::string mendedData(data), mendedChecksum(checksum);
  std::vector<TypoSuggestion> found = ReadLettersAsDigits(mendedData, mendedChecksum);
  const LineCheck check = CheckLine(mendedData, mendedChecksum);
  if (!check.DataWellFormed() || !check.typed) return {LineVerdict::Unreadable, {}};
  if (check.Correct()) return {LineVerdict::Faulty, found};
  const std::optional<int32_t> typed = check.typed;
  const int sum = check.sum;
  const Digits digits = ReadDigits(mendedData);

  const int64_t difference = int64_t{*typed} - sum;
  for (int place = 0; place < DataDigits; ++place) {
    const int weight = place % 2 == 0 ? 16 : 1;
    const int shown = digits[place];
    const int64_t wanted = shown + difference / weight;
    if (difference % weight != 0 || wanted < 0 || wanted > 15) continue;
    const int fix = static_cast<int>(wanted);
    found.push_back({IsLookAlike(shown, fix) ? TypoKind::LookAlike : TypoKind::Digit, place + 1,
                     DigitText(shown), DigitText(fix)});
  }
  for (int place = 0; place + 1 < DataDigits; ++place) {
    Digits swapped = digits;
    std::swap(swapped[place], swapped[place + 1]);
    if (swapped == digits || Sum(swapped) != *typed) continue;
    found.push_back({TypoKind::Swap, place + 1,
                     DigitText(digits[place]) + DigitText(digits[place + 1]),
                     DigitText(swapped[place]) + DigitText(swapped[place + 1])});
  }
  if (OneSlipAway(mendedChecksum, std::to_string(sum)))
    found.push_back({LookAlikeChecksum(mendedChecksum, std::to_string(sum)) ? TypoKind::LookAlike
                                                                            : TypoKind::Checksum,
                     0, mendedChecksum, std::to_string(sum)});
  std::stable_sort(
      found.begin(), found.end(),
      [](const TypoSuggestion& a, const TypoSuggestion& b) { return a.kind < b.kind; });
  return {LineVerdict::Faulty, found};
}

std::string HintText(const TypoFinding& finding) {
  if (finding.verdict == LineVerdict::Correct) return "Pista: la linea es correcta";
  if (finding.verdict == LineVerdict::Unreadable)
    return "Pista: hacen falta " + std::to_string(DataDigits) + " digitos hexadecimales y una suma";
  if (finding.suggestions.empty()) return "Pista: ningun cambio de un digito cuadra la suma";
  std::string hint = "Pista: ";
  for (size_t k = 0; k < std::min(finding.suggestions.size(), MaxHintSuggestions); ++k) {
    const TypoSuggestion& s = finding.suggestions[k];
    std::string text;
    if (s.position == 0)
      text = "suma " + s.fix;
    else if (s.kind == TypoKind::Swap)
      text = "posiciones " + std::to_string(s.position) + "-" + std::to_string(s.position + 1) +
             ": " + s.fix;
    else
      text = "posicion " + std::to_string(s.position) + ": " + s.fix;
    text += " en vez de " + s.shown;
    if (k > 0) text = "; " + text;
    if (hint.size() + text.size() > MaxHintLength) break;
    hint += text;
  }
  return hint;
}
