# Installs the build into a scratch prefix and runs the installed thumbnailer from there, so a
# program that finds its libraries only in the build folder, or an entry naming another path,
# fails here. Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -P InstallCheck.cmake
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
file(REMOVE_RECURSE "${PREFIX}")
