#include "batch/check.h"

#include <memory>
#include <vector>

#include "console/plain_output.h"
#include "listing/line_check.h"
#include "typo_finder/typo_finder.h"

namespace {

// Built by appending: gcc 12 misreads the same sum as an overlapping copy.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  return quoted.append(text).append("\"");
}

// "1 linea", "3 lineas".
std::string Counted(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Places(const std::vector<int>& places) {
  std::string text = places.size() == 1 ? "caracter no valido en la posicion "
                                        : "caracteres no validos en las posiciones ";
  for (size_t k = 0; k < places.size(); ++k) text += (k ? ", " : "") + std::to_string(places[k]);
  return text;
}

}  // namespace

std::string LineFaults(int line, const ListingFields& fields) {
  const LineCheck check = CheckLine(fields);
  std::vector<int> badPlaces;
  for (size_t k = 0; k < fields.data.size(); ++k)
    if (check.BadCharacter(k)) badPlaces.push_back(static_cast<int>(k) + 1);
  std::vector<std::string> faults;
  if (!badPlaces.empty()) faults.push_back(Places(badPlaces));
  if (check.length != DataLength::Right)
    faults.push_back(std::to_string(fields.data.size()) + " digitos en vez de " +
                     std::to_string(DataDigits));
  if (check.checksum == ChecksumState::Missing)
    faults.push_back("falta la suma");
  else if (check.checksum == ChecksumState::Unreadable)
    faults.push_back("la suma " + Quoted(fields.checksum) + " no es un numero");
  else if (check.checksum == ChecksumState::Differs && check.DataWellFormed())
    faults.push_back("suma escrita " + fields.checksum + ", calculada " +
                     std::to_string(check.sum));

  std::string text = "Linea " + std::to_string(line) + ": ";
  for (size_t k = 0; k < faults.size(); ++k) text += (k ? "; " : "") + faults[k];
  text += ".";
  const TypoFinding finding = FindTypos(fields.data, fields.checksum);
  if (finding.verdict == LineVerdict::Faulty) text.append(" ").append(HintText(finding));
  return text;
}

std::string NumberingFault(const NumberingProblem& problem) {
  std::string text = "Linea " + std::to_string(problem.fileLine) + " del fichero: ";
  const std::string expected = std::to_string(problem.expected);
  switch (problem.kind) {
    case NumberingProblem::Copy:
      return text + "linea " + expected + " repetida, se quita la copia";
    case NumberingProblem::Split:
      return text + "continua la linea " + expected;
    case NumberingProblem::MissingLines:
      if (problem.lastMissing == problem.expected) return text + "falta la linea " + expected;
      return text + "faltan las lineas " + expected + " a " + std::to_string(problem.lastMissing);
    case NumberingProblem::WrongNumber:
      break;
  }
  return text + "numero de linea " + Quoted(problem.number) +
         (problem.readable ? " repetido o fuera de orden" : " ilegible") + ", se esperaba " +
         expected;
}

int CheckListing(const std::string& fileName) {
  const auto table = std::make_unique<LineTable>();
  const BatchListing listing = ReadListingQuietly(fileName, *table);
  if (listing.status != BatchDone) return FinishBatch(listing.status);

  for (const int fileLine : listing.skippedLines) PrintLine(SkippedLineText(fileLine));
  for (const NumberingProblem& problem : listing.problems) PrintLine(NumberingFault(problem));
  const size_t numbering =
      listing.problems.size() + listing.skippedLines.size() + (listing.full ? 1 : 0);
  if (listing.full)
    PrintLine("Memoria llena o mas de 5000 lineas: solo se cargan las " +
              std::to_string(table->count) + " primeras");
  int faulty = 0;
  for (int line = 1; line <= table->count; ++line) {
    const ListingFields fields = SplitStoredLine(LineText(*table, line));
    if (CheckLine(fields).Correct()) continue;
    ++faulty;
    PrintLine(LineFaults(line, fields));
  }
  const std::string lines = Counted(table->count, "linea", "lineas");
  if (numbering == 0 && faulty == 0) {
    PrintLine("Listado correcto: " + lines + ".");
    return FinishBatch(BatchDone);
  }
  PrintLine("Listado con problemas: " + lines + "; " +
            Counted(faulty, "incorrecta", "incorrectas") + "; " +
            Counted(numbering, "problema de numeracion", "problemas de numeracion") + ".");
  return FinishBatch(BatchListingFault);
}
