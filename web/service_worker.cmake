# Writes the page's service worker, DIR/service_worker.js, from TEMPLATE: the
# names of the files it keeps (FILES, comma-separated, as they lie in DIR) and
# VERSION, a hash of their names and contents and of the template. Run at build
# time, after every one of those files is in place:
#   cmake -DDIR=<page dir> -DFILES=index.html,page.js,... -DTEMPLATE=<service_worker.js.in> -P service_worker.cmake
foreach(var DIR FILES TEMPLATE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "service_worker.cmake needs -D${var}=")
  endif()
endforeach()

string(REPLACE "," ";" files "${FILES}")
file(SHA256 ${TEMPLATE} sums)
set(names)
foreach(file ${files})
  if(NOT EXISTS ${DIR}/${file})
    message(FATAL_ERROR "the service worker would keep ${file}, which is not in ${DIR}")
  endif()
  file(SHA256 ${DIR}/${file} sum)
  string(APPEND sums "\n${file} ${sum}")
  list(APPEND names "\"${file}\"")
endforeach()
string(SHA256 version "${sums}")
string(SUBSTRING ${version} 0 16 VERSION)
list(JOIN names ", " names)
set(FILES "[${names}]")
configure_file(${TEMPLATE} ${DIR}/service_worker.js @ONLY)
