# Reads the #include "..." lines of every folder of src/, finds the folder
# each included header lives in, and checks the arrow against the layers of
# src/CMakeLists.txt. Prints the folder graph (arrows with their number of
# include lines) and fails on any arrow the layers do not allow, and on a
# file name used in two folders (an include of it would be ambiguous).
#
#   cmake -DSOURCE_DIR=<path to src> -P include_graph.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# The folders each folder may include from: every folder below it.
set(folders client core language engine support commands capture shell)
set(allowed_client "")
set(allowed_core client)
set(allowed_language core)
set(allowed_engine core)
set(allowed_support engine core)
set(allowed_commands support engine core)
set(allowed_capture support engine core)
set(allowed_shell language commands capture support engine core client)
# The one deliberate upward reference: the keyword tables name the action
# routines of the folders above the parser.
set(tables_files "^language/corvane_kwt[^/]*\\.cpp$")
set(allowed_tables language commands capture support engine core shell)

set(problems "")

# Where each header lives, and one folder per file name.
foreach(folder ${folders})
  file(GLOB files RELATIVE ${SOURCE_DIR}/${folder} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    get_filename_component(stem ${file} NAME_WE)
    if(DEFINED stem_${stem} AND NOT stem_${stem} STREQUAL folder)
      list(APPEND problems "${stem} is a file name of both ${stem_${stem}}/ and ${folder}/")
    endif()
    set(stem_${stem} ${folder})
    if(file MATCHES "\\.h$")
      set(home_${file} ${folder})
    endif()
  endforeach()
endforeach()

set(edges "")
foreach(folder ${folders})
  file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    set(from ${folder})
    set(allowed ${allowed_${folder}})
    if(file MATCHES "${tables_files}")
      set(from "language(keyword tables)")
      set(allowed ${allowed_tables})
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
      get_filename_component(name "${included}" NAME)
      if(NOT DEFINED home_${name})
        continue()  # not a header of src/
      endif()
      set(to ${home_${name}})
      if(to STREQUAL folder)
        continue()
      endif()
      if(NOT to IN_LIST allowed)
        list(APPEND problems "${file} includes ${included} of ${to}/: ${folder} may not include from ${to}")
      endif()
      set(edge "${from} -> ${to}")
      if(NOT edge IN_LIST edges)
        list(APPEND edges "${edge}")
        set(count_${from}_${to} 0)
      endif()
      math(EXPR count_${from}_${to} "${count_${from}_${to}} + 1")
    endforeach()
  endforeach()
endforeach()

set(graph "Include graph of ${SOURCE_DIR} (arrow: include lines):")
foreach(edge ${edges})
  string(REPLACE " -> " ";" ends "${edge}")
  list(GET ends 0 from)
  list(GET ends 1 to)
  string(APPEND graph "\n  ${edge}: ${count_${from}_${to}}")
endforeach()
message("${graph}")

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
