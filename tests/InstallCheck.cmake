# Installs the build into a scratch prefix and runs the installed thumbnailer and host session
# from there, so a program that finds its libraries or the module only in the build folder, a
# missing stand-in or help book, or an entry naming another path, fails here.
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                OUTPUT_QUIET RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()
execute_process(COMMAND "${PREFIX}/bin/qrva-thumbnailer" --version
                OUTPUT_VARIABLE version RESULT_VARIABLE ran)
if(NOT ran EQUAL 0 OR NOT version MATCHES "^qrva-thumbnailer ")
  message(FATAL_ERROR "the installed thumbnailer does not run: ${ran} ${version}")
endif()
file(READ "${PREFIX}/share/thumbnailers/qrva.thumbnailer" entry)
if(NOT entry MATCHES "Exec=${PREFIX}/bin/qrva-thumbnailer -s %s %u %o\n" OR
   NOT entry MATCHES "MimeType=image/vnd.dwg;")
  message(FATAL_ERROR "unexpected thumbnailer entry:\n${entry}")
endif()
# The module with its stand-ins and help book together, where the host finds it.
file(GLOB module_folder "${PREFIX}/lib*/quorvane" "${PREFIX}/lib*/*/quorvane")
foreach(file qrva22-64.arx TarveshRibbon.dll tarveshtoolbar-22-64.arx QuorvaHelper.dll quorva.htb)
  if(NOT EXISTS "${module_folder}/${file}")
    message(FATAL_ERROR "${file} is not installed beside the module (in '${module_folder}')")
  endif()
endforeach()
foreach(file share/applications/qrva-host.desktop share/icons/hicolor/32x32/apps/qrva-host.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "${file} is not installed")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/qrva-host.desktop" desktop)
if(NOT desktop MATCHES "\nExec=${PREFIX}/bin/qrva-host\n" OR
   NOT desktop MATCHES "\nIcon=qrva-host\n")
  message(FATAL_ERROR "unexpected desktop entry:\n${desktop}")
endif()
# The installed host loads the installed module by default, which hands its button over.
file(MAKE_DIRECTORY "${PREFIX}/support" "${module_folder}/Log")
file(WRITE "${PREFIX}/support/qv35.ini" "")
file(WRITE "${PREFIX}/session.scr" "QUIT\n")
# Without a display, so the session runs on the command line alone.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        "${PREFIX}/bin/qrva-host" --support "${PREFIX}/support"
                        --script "${PREFIX}/session.scr"
                WORKING_DIRECTORY "${PREFIX}" OUTPUT_VARIABLE session ERROR_VARIABLE errors
                RESULT_VARIABLE ran)
file(GLOB logs "${module_folder}/Log/*.log")
set(log "")
if(logs)
  file(READ "${logs}" log)
endif()
if(NOT ran EQUAL 0 OR NOT session MATCHES "Loaded!" OR
   NOT log MATCHES "TarveshRibbon[.]API[.]AddButton \"quorva[^\"]+\" \"Quorvane\"")
  message(FATAL_ERROR "the installed host session failed: ${ran}\n${session}${errors}\n${log}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
