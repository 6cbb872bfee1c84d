#pragma once
// How a converted file's trouble is told: in English on the command line's standard error,
// and as a short Japanese mark after the file's entry in the progress window (UTF-8).
#include <string>
#include <vector>

#include "app/FileOutcome.h"

// One sentence per problem of the reading, the walk or the conversion as a whole, without the
// file's name. The signature check and the write are left to the front end, which names the
// format and the document.
std::vector<std::string> OutcomeProblems(const TFileOutcome& outcome);

// The mark the progress list puts after the entry; empty for a clean outcome.
std::string OutcomeMark(const TFileOutcome& outcome);
