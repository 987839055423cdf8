# Run by CPack on its staging folder before it packs: a Debian package holds its
# man page and changelog compressed (gzip -9n, no name or time inside).
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
list(FILTER staged INCLUDE REGEX "/(man1/rackgen\\.1|doc/rackgen/changelog)$")
foreach(f IN LISTS staged)
  execute_process(COMMAND gzip -9n -f "${f}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${f} failed")
  endif()
endforeach()
