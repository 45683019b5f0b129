#pragma once
// gravix --check: the listing read as the loader reads it, with nothing asked and nothing
// written; one line for each problem, then a summary.

#include <string>

#include "batch/batch_run.h"
#include "listing/line_format.h"

// The exit status: 0 when the listing would load without a question and compile as it is.
int CheckListing(const std::string& fileName);

// "Linea 7: ..." what is wrong with a line the compiler would refuse, and the typo finder's
// hint where a single change would mend it.
std::string LineFaults(int line, const ListingFields& fields);
// "Linea 3 del fichero: ..." a numbering problem the loader would ask about.
std::string NumberingFault(const NumberingProblem& problem);
