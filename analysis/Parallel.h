#pragma once
// Summarising many documents on several threads with the results handed on in the order of the
// paths, while later ones are still being computed. Only a bounded window of paths is in flight,
// so memory stays flat however many documents there are.

#include <atomic>
#include <functional>
#include <string>

#include "analysis/DocumentPaths.h"
#include "analysis/Summary.h"

namespace movik {

using SummaryWork = std::function<DocumentSummary(const std::string& path)>;
using SummarySink = std::function<void(DocumentSummary&& summary)>;

// Takes every path from next (on the calling thread), runs work on jobs threads (the calling
// thread alone for jobs <= 1) and calls sink on the calling thread in path order. A work that
// throws (anything) gives a failed summary with the exception's text. When stop becomes true no new
// path is started and the call returns soon; an exception from sink ends the run and propagates.
void SummarizeInOrder(const PathSource& next, int jobs, const SummaryWork& work,
                      const SummarySink& sink, const std::atomic<bool>* stop = nullptr);

// The text of the exception being handled (call inside a catch block): what() of a standard
// exception, a Croatian text otherwise.
std::string CurrentExceptionText();

// The number of threads to use by default: the machine's cores.
int DefaultJobs();

}  // namespace movik
