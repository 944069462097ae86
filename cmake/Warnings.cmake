# One warning set for every target of ours; third-party headers come in as SYSTEM.
add_library(calvira_warnings INTERFACE)
target_compile_options(calvira_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wnull-dereference -Wimplicit-fallthrough -Wformat=2)
if(CALVIRA_WERROR)
  target_compile_options(calvira_warnings INTERFACE -Werror)
endif()

# calvira_add_library(name folder [SOURCES ...] [EXCLUDE ...] [LIBS ...]): the files given as
# SOURCES (relative to the calling directory), or else every .cpp of the folder but those in
# EXCLUDE; public headers from src/.
function(calvira_add_library name folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;EXCLUDE;LIBS" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    foreach(excluded IN LISTS ARG_EXCLUDE)
      list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
  endif()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE calvira_warnings)
  else()
    # A folder whose code is still all in headers.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()
