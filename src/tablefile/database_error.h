#pragma once
// The last database error: every table command leaves its outcome here, 0 for success and a
// negative code otherwise. It is kept per thread; the codes -1 and -3 to -15 are the file errors of
// the platform layer, numbered the same.

#include "platform/files.h"
#include "platform/types.h"

namespace glyvora {

enum DatabaseError : int {
    kDbOk = 0,
    kDbUnknown = -1,
    kDbFileNotFound = -3,
    kDbBadSeek = -10,
    kDbNotATable = -22,
    kDbVersionTooNew = -23,
    kDbBeforeFirst = -25,
    kDbAfterLast = -26,
    kDbNoFile = -27,
    kDbLockFailed = -28,
    kDbUnlockFailed = -29,
    kDbAlreadyOpen = -38,
    kDbOutOfMemory = -45,
    kDbFieldReadFailed = -46,
    kDbBadFileSize = -48,
    kDbNoCurrentRecord = -60,
    kDbNoSuchField = -61,
    kDbRecordReadFailed = -62,
    kDbCountReadFailed = -65,
    kDbNoSuchTable = -66,
    kDbNoCurrentTable = -67,
    kDbTypeMismatch = -72,
};

// The last database error of the calling thread.
int lastDatabaseError();
void setLastDatabaseError(int code);

// The text the engine keeps for a code (GBK); "未知错误" for a code it does not know.
Text databaseErrorText(int code);

// The fatal runtime errors of ReadField.
Text noCurrentTableMessage(); // "未指定当前数据库或者指定数据库未打开"
Text noSuchFieldMessage();    // "指定字段不存在"

inline int toDatabaseError(FileError error) {
    return static_cast<int>(error);
}

} // namespace glyvora
