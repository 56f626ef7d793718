#include "model/Statements.h"

#include "model/StatementFacts.h"

namespace movik {

int RowCount(Statement s) {
    return FactsOf(s).rows;
}

}  // namespace movik
