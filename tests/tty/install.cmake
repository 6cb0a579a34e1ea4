# cmake --install into a scratch prefix must put the program in bin and the manual page in
# share/man/man1; the installed program must replay the sample session, and man must show the page.
#   cmake -DBUILD_DIR=<build> -DSOURCE_DIR=<source> -DPREFIX=<scratch prefix> -P install.cmake
cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}")
endif()

set(program "${PREFIX}/bin/kolven")
set(page "${PREFIX}/share/man/man1/kolven.1")
foreach(f IN ITEMS "${program}" "${page}")
  if(NOT EXISTS "${f}")
    message(FATAL_ERROR "not installed: ${f}\n${out}")
  endif()
endforeach()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SOURCE_DIR}/kolven.1" "${page}"
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${page} differs from kolven.1")
endif()

# The installed program on the sample session, in a folder of its own.
set(work "${PREFIX}/work")
file(MAKE_DIRECTORY "${work}")
file(COPY "${SOURCE_DIR}/examples/caso.din" DESTINATION "${work}")
execute_process(COMMAND "${program}" WORKING_DIRECTORY "${work}"
                INPUT_FILE "${SOURCE_DIR}/examples/caso.txt" OUTPUT_QUIET
                RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed kolven ended with ${status} on examples/caso.txt: ${err}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SOURCE_DIR}/examples/caso.dad"
                        "${work}/caso1.dad" RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "the installed kolven wrote a caso1.dad that differs from examples/caso.dad")
endif()

# man shows the installed page, found through the prefix, and the page of the source tree as the
# guide says (man ./kolven.1); the page renders without warnings. Skipped where man is missing.
find_program(MAN man)
if(MAN)
  foreach(args IN ITEMS "-M;${PREFIX}/share/man;kolven" "./kolven.1")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env MANWIDTH=80 MANPAGER=cat PAGER=cat
                            "${MAN}" --warnings ${args}
                    WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status
                    OUTPUT_VARIABLE shown ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
      message(FATAL_ERROR "man ${args}: status ${status}\n${warnings}")
    endif()
    foreach(text IN ITEMS "KOLVEN(1)" "SYNOPSIS" "EXIT STATUS" "tee sessao.txt | kolven")
      string(FIND "${shown}" "${text}" at)
      if(at LESS 0)
        message(FATAL_ERROR "man ${args} does not show \"${text}\":\n${shown}")
      endif()
    endforeach()
  endforeach()
else()
  message(STATUS "man is not installed: the page is not rendered")
endif()
