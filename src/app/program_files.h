#pragma once
// The five files the program keeps beside its executable.

#include "app/main_state.h"
#include "platform/types.h"

namespace glyvora::app {

inline const Text kSettingsFile = "配置文件.ini";
inline const Text kTreeFile = "文件夹分类.dat";
inline const Text kNamesFile = "分类与子分类的名称.txt";
inline const Text kFolderTable = "目录名称与地址数据库.qtb";
inline const Text kSetTable = "集名称与字体地址数据库.qtb";

// The program directory + "\" + the file name.
inline Text programFile(const MainState& state, const Text& name) {
    return state.programDirectory + "\\" + name;
}

} // namespace glyvora::app
