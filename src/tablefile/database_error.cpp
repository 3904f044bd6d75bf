#include "tablefile/database_error.h"

namespace glyvora {

namespace {

thread_local int lastError = 0;

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {-1, "未知错误"},
    {-3, "指定文件未找到"},
    {-4, "无效的路径"},
    {-5, "打开文件过多"},
    {-6, "指定文件不能被访问"},
    {-7, "无效的文件号"},
    {-8, "不能删除现行工作目录"},
    {-9, "创建目录过多"},
    {-10, "文件指针定位失败"},
    {-11, "访问文件时硬件产生故障"},
    {-12, "访问文件时产生共享冲突"},
    {-13, "加锁文件失败"},
    {-14, "磁盘空间不够"},
    {-15, "已经到达文件尾"},
    {-22, "指定文件不是数据库文件"},
    {-23, "指定数据库文件版本太高，无法读入，请升级系统软件"},
    {-25, "已经越过数据库的首记录"},
    {-26, "已经越过数据库的末记录"},
    {-27, "当前未打开数据库"},
    {-28, "加锁失败"},
    {-29, "解锁失败"},
    {-38, "指定数据库已经被打开"},
    {-45, "分配内存空间失败"},
    {-46, "读指定字段失败"},
    {-48, "数据库文件尺寸错误"},
    {-60, "现行记录不存在"},
    {-61, "指定字段不存在"},
    {-62, "读记录失败"},
    {-65, "取数据库记录数失败"},
    {-66, "未打开指定数据库"},
    {-67, "未设置当前数据库"},
    {-72, "所提供数据的类型与字段类型不匹配"},
};

} // namespace

int lastDatabaseError() {
    return lastError;
}

void setLastDatabaseError(int code) {
    lastError = code;
}

Text noCurrentTableMessage() {
    return "未指定当前数据库或者指定数据库未打开";
}

Text noSuchFieldMessage() {
    return "指定字段不存在";
}

Text databaseErrorText(int code) {
    if (code == 0) return Text();
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code) return e.text;
    return kErrorTexts[0].text;
}

} // namespace glyvora
