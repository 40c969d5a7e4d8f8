# Lays the generated files out in the program folder: cmake -DDATA_DIR=... -DPROGRAM_DIR=... -P install_files.cmake
# kelva.mdb is copied only when the program folder has none (the user's database is never overwritten);
# the templates and the disclaimer are refreshed when they differ.
if(NOT DATA_DIR OR NOT PROGRAM_DIR)
  message(FATAL_ERROR "install_files.cmake needs DATA_DIR and PROGRAM_DIR")
endif()
file(MAKE_DIRECTORY "${PROGRAM_DIR}" "${PROGRAM_DIR}/backup")
if(NOT EXISTS "${PROGRAM_DIR}/kelva.mdb")
  file(COPY_FILE "${DATA_DIR}/kelva.mdb" "${PROGRAM_DIR}/kelva.mdb")
  message(STATUS "Installed the sample kelva.mdb into ${PROGRAM_DIR}")
endif()
foreach(name export.mdb backup.mdb backupAllSess.mdb kvdis.txt)
  file(COPY_FILE "${DATA_DIR}/${name}" "${PROGRAM_DIR}/${name}" ONLY_IF_DIFFERENT)
endforeach()
