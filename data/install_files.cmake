# Lays the generated files out in the program folder: cmake -DDATA_DIR=... -DPROGRAM_DIR=... -P install_files.cmake
# kelva.mdb is copied only when the program folder has none (the user's database is never overwritten);
# the templates and the disclaimer are refreshed when they differ.
if(NOT DATA_DIR OR NOT PROGRAM_DIR)
  message(FATAL_ERROR "install_files.cmake needs DATA_DIR and PROGRAM_DIR")
endif()
file(MAKE_DIRECTORY "${PROGRAM_DIR}" "${PROGRAM_DIR}/backup")

# A database copied in must not land beside the journal files another file left behind (a run that was
# killed, a kelva.mdb deleted by hand): the engine would take their pages as the new file's own.
function(copy_database name)
  foreach(suffix -wal -shm -journal)
    file(REMOVE "${PROGRAM_DIR}/${name}${suffix}")
  endforeach()
  file(COPY_FILE "${DATA_DIR}/${name}" "${PROGRAM_DIR}/${name}")
endfunction()

if(NOT EXISTS "${PROGRAM_DIR}/kelva.mdb")
  copy_database(kelva.mdb)
  message(STATUS "Installed the sample kelva.mdb into ${PROGRAM_DIR}")
endif()
foreach(name export.mdb backup.mdb backupAllSess.mdb)
  set(same FALSE)
  if(EXISTS "${PROGRAM_DIR}/${name}")
    file(SHA256 "${DATA_DIR}/${name}" new_hash)
    file(SHA256 "${PROGRAM_DIR}/${name}" old_hash)
    if(new_hash STREQUAL old_hash)
      set(same TRUE)
    endif()
  endif()
  if(NOT same)
    copy_database(${name})
  endif()
endforeach()
file(COPY_FILE "${DATA_DIR}/kvdis.txt" "${PROGRAM_DIR}/kvdis.txt" ONLY_IF_DIFFERENT)
