# Shortcut codes for Qt keys and the periodic update check.
set(ZENTRIX_PRODUCT_PAGE "https://zentrix.invalid/webupdate.html" CACHE STRING
    "Product page with the published version's meta tags (must be https)")
set(ZENTRIX_MAKER_SITE "https://zentrix.invalid/" CACHE STRING "The maker's web site the update offer opens")
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProductPage.h.in ${CMAKE_CURRENT_BINARY_DIR}/ProductPage.h @ONLY)
target_sources(zentrix_gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ShortcutKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateChecker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpdateSchedule.cpp
)
