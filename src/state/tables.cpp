#include "state/tables.h"

#include <QtGlobal>

namespace warizan {

void tableIndexOutOfRange(const char* table, int index) {
    qFatal("%s index %d lies outside its table", table, index);
}

} // namespace warizan
