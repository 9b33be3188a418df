# Fails when a folder of src/ includes a header of a folder above it:
#   common < store < reader, mep, profile < report < export < driver, frontend
# Folders of one level may include each other. A folder missing from the
# table fails too, so that a new one is given its place on purpose.
#   cmake -DSOURCE_DIR=<repository>/src -P layering.cmake
set(levels common=0 store=1 reader=2 mep=2 profile=2 report=3 export=4 driver=5 frontend=5)
foreach(entry IN LISTS levels)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 level)
  set(level_of_${folder} ${level})
endforeach()

set(faults "")
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
    continue()
  endif()
  if(NOT DEFINED level_of_${folder})
    string(APPEND faults "src/${folder} has no place in the layers\n")
    continue()
  endif()
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([a-z_]+)/.*" "\\1" target "${line}")
      if(DEFINED level_of_${target} AND level_of_${target} GREATER level_of_${folder})
        file(RELATIVE_PATH name ${SOURCE_DIR}/.. ${source})
        string(APPEND faults "${name} includes ${target}/, a folder above ${folder}/\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "${faults}")
endif()
