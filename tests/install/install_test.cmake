# Installs the build into a fresh prefix and runs the installed terminal front
# end with an empty home: it must find the start-up library beside its own
# folder and furnish the per-user home folder from there.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DAPP_ID=... -DDESKTOP=ON|OFF -P install_test.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(home ${WORK_DIR}/home)
file(MAKE_DIRECTORY ${home})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/ostrac-cli
  share/ostrac/data0.bin
  share/ostrac/tutorial
  share/man/man1/ostrac-cli.1.gz
  share/doc/ostrac/copyright)
if(DESKTOP)
  list(APPEND expected
    bin/ostrac
    share/ostrac/ostrac.html
    share/man/man1/ostrac.1.gz
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    share/icons/hicolor/48x48/apps/${APP_ID}.png)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Started from elsewhere, with nothing but HOME to go by.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME HOME=${home}
          ${prefix}/bin/ostrac-cli -e "print 1+1" -e "normal(0)"
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ostrac-cli failed (${rc}): ${out}${err}")
endif()
# normal comes from the start-up library: it answers only when data0.bin
# was found and installed into the home folder.
if(NOT out MATCHES "Ostrac initialized ok\n" OR NOT out MATCHES ">> print 1\\+1\n2\n"
   OR NOT out MATCHES ">> normal\\(0\\)\n0\\.5\n")
  message(FATAL_ERROR "unexpected output of the installed ostrac-cli:\n${out}${err}")
endif()

set(furnished ${home}/.local/share/ostrac)
set(home_files data0.bin tutorial)
if(DESKTOP)
  list(APPEND home_files ostrac.html)
endif()
foreach(file IN LISTS home_files)
  if(NOT EXISTS ${furnished}/${file})
    message(FATAL_ERROR "not put into the new home folder: ${file}")
  endif()
  file(SHA256 ${furnished}/${file} copied)
  file(SHA256 ${prefix}/share/ostrac/${file} shipped)
  if(NOT copied STREQUAL shipped)
    message(FATAL_ERROR "${file} in the home folder differs from the installed one")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
