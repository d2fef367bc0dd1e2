# Run by CPack on its staging folder before it builds the .deb: Debian wants
# the licence in a machine-readable copyright file rather than a LICENSE, the
# changelog in Debian's form and compressed, compressed manual pages, and
# binaries stripped of symbols and of the .comment and .note sections.
find_program(GZIP gzip REQUIRED)
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/tubewyrm")
if(NOT EXISTS "${doc}/LICENSE")
  message(FATAL_ERROR "debian_staging: nothing installed at ${doc}")
endif()

# The licence text from LICENSE, from "Permission" on, in copyright's form:
# each line indented by one space, empty lines as " .".
file(READ "${CPACK_TUBEWYRM_SOURCE_DIR}/LICENSE" licence)
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 licence)
string(STRIP "${licence}" licence)
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence "${licence}")
file(STRINGS "${CPACK_TUBEWYRM_SOURCE_DIR}/LICENSE" holder REGEX "^Copyright \\(c\\) ")
string(REGEX REPLACE "^Copyright \\(c\\) " "" holder "${holder}")
file(WRITE "${doc}/copyright"
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tubewyrm

Files: *
Copyright: ${holder}
License: Expat

License: Expat
 ${licence}
")
file(REMOVE "${doc}/LICENSE")

function(compress from to)
  execute_process(COMMAND "${GZIP}" -9 -n -c "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "debian_staging: gzip ${from} failed")
  endif()
endfunction()
compress("${CPACK_TUBEWYRM_DATA_DIR}/changelog.Debian" "${doc}/changelog.gz")
compress("${root}/share/man/man6/tubewyrm.6" "${root}/share/man/man6/tubewyrm.6.gz")
file(REMOVE "${root}/share/man/man6/tubewyrm.6")
file(GLOB staged RELATIVE "${CPACK_TEMPORARY_DIRECTORY}" "${doc}/*" "${root}/share/man/man6/*")
foreach(file IN LISTS staged)
  file(CHMOD "${CPACK_TEMPORARY_DIRECTORY}/${file}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

execute_process(COMMAND "${CPACK_TUBEWYRM_STRIP}" --remove-section=.comment --remove-section=.note
                        "${root}/games/tubewyrm" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "debian_staging: strip failed")
endif()
