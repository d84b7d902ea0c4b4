// Functions found at run time rather than imported: those that older Windows lack, and those of
// DLLs the programs load only when they need them. One form for every such call.
#pragma once

#include <windows.h>

namespace tolvane::win32 {

// The export `nom` of `module` as a pointer of type Fn, or nullptr when the module or the
// export is missing. The cast goes through void* because GCC warns when FARPROC is cast straight
// to another function type (-Wcast-function-type).
template <typename Fn>
Fn FonctionDe(HMODULE module, const char* nom) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, nom)));
}

// A DLL of the system folder, never one of the same name planted beside the program or in the
// current folder (side-by-side redirection still applies: comctl32 version 6).
inline HMODULE ChargeDuSysteme(const wchar_t* nom) {
    return LoadLibraryExW(nom, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The same, in a module already loaded in the process (kernel32, user32…).
template <typename Fn>
Fn FonctionDe(const wchar_t* moduleCharge, const char* nom) {
    return FonctionDe<Fn>(GetModuleHandleW(moduleCharge), nom);
}

}  // namespace tolvane::win32
