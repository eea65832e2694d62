#include "support/Expectations.h"

namespace orbeta::testing {

bool SameFieldsAndGrid(const Study& left, const Study& right) {
    if (left.methodName != right.methodName || left.date != right.date ||
        left.analystCount != right.analystCount || left.dayCount != right.dayCount ||
        left.replicateCount != right.replicateCount || left.gridColumns != right.gridColumns ||
        left.gridRows != right.gridRows) {
        return false;
    }
    for (int column = 0; column < left.gridColumns; ++column) {
        for (int row = 0; row < left.gridRows; ++row) {
            if (left.Cell(column, row) != right.Cell(column, row)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace orbeta::testing
