#include "model/Statements.h"

namespace movik {

int RowCount(Statement s) {
    switch (s) {
        case Statement::Bilanca:
            return kBilancaRows;
        case Statement::Racun:
            return kRacunRows;
        case Statement::CFInd:
            return kCFIndRows;
        case Statement::CFFree:
            return kCFFreeRows;
        case Statement::Pok:
            return kPokRows;
    }
    return 0;
}

}  // namespace movik
