# Delay-loaded system libraries: the program links them as usual and calls their functions
# directly, but a library is loaded only when the first of its functions is called (the delay-load
# helper, with the hook in src/common/system_library_win.cpp that takes it from the system folder).
# What the first ticks never call then costs no memory at start.
#
# kelvane_delay_load(TARGET LIB...) links TARGET against LIB... that way.

if(MINGW)
  # mingw's import libraries bind at load time. dlltool makes a delay-load import library from
  # the list of the regular one's exports; both are made once, in the build tree.
  find_program(KELVANE_DLLTOOL NAMES ${CMAKE_CXX_COMPILER_TARGET}-dlltool x86_64-w64-mingw32-dlltool dlltool REQUIRED)
  find_program(KELVANE_NM NAMES x86_64-w64-mingw32-nm nm REQUIRED)
endif()

function(kelvane_delay_load target)
  if(NOT MINGW)
    foreach(lib ${ARGN})
      target_link_libraries(${target} PUBLIC ${lib})
      target_link_options(${target} PUBLIC "/DELAYLOAD:${lib}.dll")
    endforeach()
    target_link_libraries(${target} PUBLIC delayimp)
    return()
  endif()
  set(dir ${PROJECT_BINARY_DIR}/delay-imports)
  file(MAKE_DIRECTORY ${dir})
  foreach(lib ${ARGN})
    set(delaylib ${dir}/lib${lib}_delay.a)
    if(NOT EXISTS ${delaylib})
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${lib}.a
                      OUTPUT_VARIABLE importlib OUTPUT_STRIP_TRAILING_WHITESPACE)
      execute_process(COMMAND ${KELVANE_NM} -g --defined-only ${importlib}
                      OUTPUT_VARIABLE symbols ERROR_QUIET)
      # Every export has an import thunk pointer named __imp_<export>.
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I __imp_" "  ")
      list(REMOVE_DUPLICATES imports)
      if(NOT imports)
        message(FATAL_ERROR "no exports found in ${importlib}")
      endif()
      string(JOIN "\n" exports ${imports})
      file(WRITE ${dir}/${lib}.def "LIBRARY ${lib}.dll\nEXPORTS\n${exports}\n")
      # dlltool names the library's symbols after the path it is given: relative names keep the
      # build folder out of the program's symbols, and so out of the check sum of its debug link.
      execute_process(COMMAND ${KELVANE_DLLTOOL} --input-def ${lib}.def --dllname ${lib}.dll
                              --output-delaylib lib${lib}_delay.a
                      WORKING_DIRECTORY ${dir}
                      RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "dlltool could not make ${delaylib}")
      endif()
    endif()
    target_link_libraries(${target} PUBLIC ${delaylib})
  endforeach()
endfunction()
