// What --check says of each fault, word for word: a script or a user reads these lines.
#include "batch/check.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckMessages, EachFaultOfALine) {
  const std::string data = "06000E0076790F0F0FE6";  // sums to 534
  // clang-format off
  const struct { ListingFields fields; std::string said; } cases[] = {
      {{"3", "06000E007679XF0F0FE6", "534"}, "Linea 3: caracter no valido en la posicion 13."},
      {{"3", "0600GE007679XF0F0FE6", "534"},
       "Linea 3: caracteres no validos en las posiciones 5, 13."},
      {{"3", data.substr(1), "534"}, "Linea 3: 19 digitos en vez de 20."},
      {{"3", data, ""}, "Linea 3: falta la suma."},
      {{"3", data, "5x4"}, "Linea 3: la suma \"5x4\" no es un numero."},
      {{"3", data, "543"},
       "Linea 3: suma escrita 543, calculada 534. Pista: suma 534 en vez de 543; posicion 2: F "
       "en vez de 6"}};
  // clang-format on
  for (const auto& [fields, said] : cases) EXPECT_EQ(LineFaults(3, fields), said);
}

TEST(CheckMessages, EachNumberingProblem) {
  const auto said = [](NumberingProblem::Kind kind, int fileLine, const char* number, int expected,
                       bool readable = true, int lastMissing = 0) {
    return NumberingFault(
        NumberingProblem{kind, fileLine, number, expected, readable, lastMissing});
  };
  EXPECT_EQ(said(NumberingProblem::WrongNumber, 6, "5", 6),
            "Linea 6 del fichero: numero de linea \"5\" repetido o fuera de orden, se esperaba 6");
  EXPECT_EQ(said(NumberingProblem::WrongNumber, 6, "5x", 6, false),
            "Linea 6 del fichero: numero de linea \"5x\" ilegible, se esperaba 6");
  EXPECT_EQ(said(NumberingProblem::MissingLines, 7, "8", 7, true, 7),
            "Linea 7 del fichero: falta la linea 7");
  EXPECT_EQ(said(NumberingProblem::MissingLines, 7, "10", 7, true, 9),
            "Linea 7 del fichero: faltan las lineas 7 a 9");
  EXPECT_EQ(said(NumberingProblem::Copy, 2, "1", 1),
            "Linea 2 del fichero: linea 1 repetida, se quita la copia");
  EXPECT_EQ(said(NumberingProblem::Split, 5, "4", 4), "Linea 5 del fichero: continua la linea 4");
  EXPECT_EQ(SkippedLineText(4), "Linea 4 del fichero: no es una linea del listado");
}

}  // namespace
