#pragma once
// Summarising many documents on several threads with the results handed on in the order of the
// paths, while later ones are still being computed. Only a bounded window of paths is in flight,
// so memory stays flat however many documents there are.

#include <functional>
#include <stop_token>
#include <string>

#include "analysis/DocumentPaths.h"
#include "analysis/Summary.h"

namespace movik {

using SummaryWork = std::function<DocumentSummary(const std::string& path)>;
using SummarySink = std::function<void(DocumentSummary&& summary)>;

// Takes every path from next (on the calling thread), runs work on jobs threads (the calling
// thread alone for jobs <= 1 when stop can never be asked) and calls sink on the calling thread in
// path order. A work that throws (anything) gives a failed summary with the exception's text. A
// stop asked (from any thread) wakes the call, which returns at once without starting another
// path: a work still running (a slow file) is abandoned, not waited for; its thread ends on its own
// when the work returns and its result is dropped. So a work that may be abandoned must own
// everything it uses (capture by value). An exception from sink ends the run and propagates.
void SummarizeInOrder(const PathSource& next, int jobs, const SummaryWork& work,
                      const SummarySink& sink, std::stop_token stop = {});

// How many threads of abandoned works are still running (they end as their work returns).
int AbandonedWorkersRunning();

// The text of the exception being handled (call inside a catch block): what() of a standard
// exception, a Croatian text otherwise.
std::string CurrentExceptionText();

// The number of threads to use by default: the machine's cores.
int DefaultJobs();

}  // namespace movik
