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

// One sentence per thing worth knowing about the file's texts, none of them a failure: texts
// left out for want of a font, characters the font lacks, a document with no geometry from a
// drawing whose texts were not asked for.
std::vector<std::string> OutcomeNotes(const TFileOutcome& outcome);

// The mark the progress list puts after the entry (problems, then notes); empty for a clean
// outcome.
std::string OutcomeMark(const TFileOutcome& outcome);
