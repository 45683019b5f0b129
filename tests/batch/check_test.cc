// What --check says of each fault, word for word: a script or a user reads these lines.
#include "batch/check.h"

#include <gtest/gtest.h>

namespace {

// The messages the command table's listings do not show: bad characters, a checksum that is no
// number, a run of missing lines, a copy and a split line.
TEST(CheckMessages, EachFault) {
  const std::string data = "06000E0076790F0F0FE6";  // sums to 534
  EXPECT_EQ(LineFaults(3, {"3", "06000E007679XF0F0FE6", "534"}),
            "Linea 3: caracter no valido en la posicion 13.");
  EXPECT_EQ(LineFaults(3, {"3", "0600GE007679XF0F0FE6", "534"}),
            "Linea 3: caracteres no validos en las posiciones 5, 13.");
  EXPECT_EQ(LineFaults(3, {"3", data, "5x4"}), "Linea 3: la suma \"5x4\" no es un numero.");
  EXPECT_EQ(NumberingFault({NumberingProblem::MissingLines, 7, "10", 7, true, 9}),
            "Linea 7 del fichero: faltan las lineas 7 a 9");
  EXPECT_EQ(NumberingFault({NumberingProblem::Copy, 2, "1", 1}),
            "Linea 2 del fichero: linea 1 repetida, se quita la copia");
  EXPECT_EQ(NumberingFault({NumberingProblem::Split, 5, "4", 4}),
            "Linea 5 del fichero: continua la linea 4");
}

}  // namespace
