# Global hot keys on X11, the shortcut code table and the desktop's address opener.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZENTRIX_HOTKEYS_XCB REQUIRED IMPORTED_TARGET xcb xcb-keysyms)
target_sources(zentrix_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutCodes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/OpenAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux/X11HotKeys.cpp
)
target_link_libraries(zentrix_core PUBLIC PkgConfig::ZENTRIX_HOTKEYS_XCB)
