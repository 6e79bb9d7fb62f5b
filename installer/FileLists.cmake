# Lists the files of the program folder for the NSIS script, run with cmake -P at build time:
#   cmake -DPROGRAM_DIR=<program folder> -DOUT_DIR=<folder for the lists> -P FileLists.cmake
# Writes into OUT_DIR:
#   Install.nsh    SetOutPath and File lines that install every file
#   Uninstall.nsh  Delete lines for exactly those files, then RMDir (never /r) for their folders,
#                  deepest first, so a folder that holds anything of the user's stays
#   Manifest.txt   path, size and time of every file: changes whenever a packed file changes
# Each list is rewritten only when its text changes, so an unchanged folder packs nothing anew.
#
# Left out: look-at programs, and diaries a test run of the program may have left in the
# build's program folder (User\, *.ddf): those belong to whoever wrote them.

cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED PROGRAM_DIR OR NOT DEFINED OUT_DIR)
    message(FATAL_ERROR "FileLists.cmake needs -DPROGRAM_DIR=... and -DOUT_DIR=...")
endif()
if(NOT IS_DIRECTORY "${PROGRAM_DIR}")
    message(FATAL_ERROR "No program folder at ${PROGRAM_DIR}")
endif()

set(excluded_names "slumra-look.exe")

file(GLOB_RECURSE all_files LIST_DIRECTORIES false RELATIVE "${PROGRAM_DIR}" "${PROGRAM_DIR}/*")
list(SORT all_files)

set(files)
set(seen_lower)
foreach(rel IN LISTS all_files)
    string(TOLOWER "${rel}" lower)
    get_filename_component(name "${lower}" NAME)
    if(lower MATCHES "^user/" OR lower MATCHES "\\.ddf$" OR name IN_LIST excluded_names)
        continue()
    endif()
    # Windows cannot hold these names; packing them would fail at install time, not here.
    if(rel MATCHES "[<>:\"|?*\\\\]")
        message(FATAL_ERROR "A file name Windows cannot hold: ${rel}")
    endif()
    # Windows folders ignore case: two such names would overwrite each other.
    if(lower IN_LIST seen_lower)
        message(FATAL_ERROR "Two files differ only in case: ${rel}")
    endif()
    list(APPEND seen_lower "${lower}")
    list(APPEND files "${rel}")
endforeach()
if(NOT files)
    message(FATAL_ERROR "The program folder ${PROGRAM_DIR} is empty")
endif()

# Text for an NSIS double-quoted string: "$" starts a variable there.
function(nsis_text out text)
    string(REPLACE "$" "$$" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(write_if_changed path text)
    if(EXISTS "${path}")
        file(READ "${path}" old)
        if(old STREQUAL text)
            return()
        endif()
    endif()
    file(WRITE "${path}" "${text}")
endfunction()

set(install "; Generated from ${PROGRAM_DIR} by FileLists.cmake.\n")
set(uninstall "; Generated from ${PROGRAM_DIR} by FileLists.cmake.\n")
set(manifest "")
set(folders)
set(current_dir "-")
foreach(rel IN LISTS files)
    get_filename_component(dir "${rel}" DIRECTORY)
    string(REPLACE "/" "\\" win_rel "${rel}")
    string(REPLACE "/" "\\" win_dir "${dir}")
    nsis_text(win_rel "${win_rel}")
    nsis_text(win_dir "${win_dir}")
    nsis_text(source "${PROGRAM_DIR}/${rel}")

    if(NOT dir STREQUAL current_dir)
        set(current_dir "${dir}")
        if(dir STREQUAL "")
            string(APPEND install "SetOutPath \"$INSTDIR\"\n")
        else()
            string(APPEND install "SetOutPath \"$INSTDIR\\${win_dir}\"\n")
        endif()
    endif()
    string(APPEND install "File \"${source}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${win_rel}\"\n")

    # Every folder on the way down, so that I\B goes as well as I\B\6x4.
    while(NOT dir STREQUAL "")
        list(APPEND folders "${dir}")
        get_filename_component(dir "${dir}" DIRECTORY)
    endwhile()

    file(SIZE "${PROGRAM_DIR}/${rel}" size)
    file(TIMESTAMP "${PROGRAM_DIR}/${rel}" time "%Y-%m-%dT%H:%M:%S" UTC)
    string(APPEND manifest "${rel}\t${size}\t${time}\n")
endforeach()

# Reverse order puts every folder before its parent.
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(dir IN LISTS folders)
    string(REPLACE "/" "\\" win_dir "${dir}")
    nsis_text(win_dir "${win_dir}")
    string(APPEND uninstall "RMDir \"$INSTDIR\\${win_dir}\"\n")
endforeach()

file(MAKE_DIRECTORY "${OUT_DIR}")
write_if_changed("${OUT_DIR}/Install.nsh" "${install}")
write_if_changed("${OUT_DIR}/Uninstall.nsh" "${uninstall}")
write_if_changed("${OUT_DIR}/Manifest.txt" "${manifest}")
