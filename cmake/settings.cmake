# Build settings: the vendor's contact data and the update server. The sample build uses
# fictitious values; a release build sets them on the cmake command line.
set(KELVA_SUPPORT_PHONE "1-800-555-0142" CACHE STRING "Support telephone number shown in messages")
set(KELVA_SUPPORT_EMAIL "support@example.com" CACHE STRING "Support e-mail address shown in messages")
set(KELVA_ORDER_PHONE "1-800-555-0143" CACHE STRING "Order telephone number")
set(KELVA_WEB_ADDRESS "www.example.com/kelva" CACHE STRING "Vendor's web address")
set(KELVA_FTP_HOST "127.0.0.1" CACHE STRING "Update server host")
set(KELVA_FTP_ADDRESS "127.0.0.1" CACHE STRING "Update server numeric address")
set(KELVA_FTP_USER "kelva" CACHE STRING "Update server account")
set(KELVA_FTP_PASSWORD "kelva" CACHE STRING "Update server password")
set(KELVA_DB_PASSWORD "Kv14mrvx2Pw" CACHE STRING "Password the main database records (11 characters)")
# The program's version as the About window shows it: major.minor.revision of the project's version.
foreach(part MAJOR MINOR PATCH)
  set(KELVA_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if(KELVA_VERSION_${part} STREQUAL "")
    set(KELVA_VERSION_${part} 0)
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/buildsettings.h.in ${CMAKE_BINARY_DIR}/generated/buildsettings.h @ONLY)
