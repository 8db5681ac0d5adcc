# How the program's libraries and tests are declared.
#
# tovlo_add_library(NAME [PREFIX path] [SOURCES ...] [HEADERS ...]
#                   [PUBLIC libs...] [PRIVATE libs...])
#   A static library (an interface library when it has no sources) whose
#   headers are included as "<PREFIX>/<header>". PREFIX defaults to the
#   folder's name, HEADERS to every .h of the folder. Each library exports an
#   include folder of its own that holds only its listed headers, so a file
#   sees the headers of the libraries it links and nothing else: an include
#   that reaches up a layer does not build.
function(tovlo_add_library name)
  cmake_parse_arguments(ARG "" "PREFIX" "SOURCES;HEADERS;PUBLIC;PRIVATE" ${ARGN})
  if(NOT ARG_PREFIX)
    get_filename_component(ARG_PREFIX ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  endif()
  if(NOT ARG_HEADERS)
    file(GLOB ARG_HEADERS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS *.h)
  endif()
  set(include ${CMAKE_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${include})
  file(MAKE_DIRECTORY ${include}/${ARG_PREFIX})
  foreach(header IN LISTS ARG_HEADERS)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${include}/${ARG_PREFIX}/${header} SYMBOLIC)
  endforeach()
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${include})
  target_link_libraries(${name} ${scope} ${ARG_PUBLIC})
  if(ARG_PRIVATE)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE})
  endif()
endfunction()

# tovlo_add_test(NAME SOURCES ... LIBS ... [LABEL unit|integration]
#                [INCLUDES dirs...] [DEFINES defs...] [DEPENDS targets...]
#                [OWN_MAIN] [XVFB [CTEST_NAME n] [TIMEOUT s] [RUN_SERIAL]]
#                [ENVIRONMENT vars...])
#   One GoogleTest program with the tests/ folder for its support headers.
#   Its cases are listed to CTest one by one, under LABEL (unit by default).
#   OWN_MAIN: the sources bring main(). XVFB: the program runs as one CTest
#   test (CTEST_NAME, else NAME) on a private Xvfb: the cases share one
#   display and one web engine. RUN_SERIAL: nothing else runs beside it (or
#   beside each of its cases). When cross-compiling (the Windows build), each
#   program is one CTest test run through the emulator (Wine).
function(tovlo_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN;XVFB;RUN_SERIAL" "LABEL;TIMEOUT;CTEST_NAME"
                        "SOURCES;LIBS;INCLUDES;DEFINES;DEPENDS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${ARG_INCLUDES})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  if(ARG_XVFB)
    if(NOT ARG_CTEST_NAME)
      set(ARG_CTEST_NAME ${name})
    endif()
    add_test(NAME ${ARG_CTEST_NAME}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/support/with-xvfb.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${ARG_CTEST_NAME} PROPERTIES LABELS ${ARG_LABEL} RUN_SERIAL ${ARG_RUN_SERIAL})
    if(ARG_TIMEOUT)
      set_tests_properties(${ARG_CTEST_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
    if(ARG_ENVIRONMENT)
      set_tests_properties(${ARG_CTEST_NAME} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
  elseif(CMAKE_CROSSCOMPILING)
    # A cross-built program runs through the emulator (Wine for Windows):
    # one CTest test per program, as starting it once per case is slow.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} RUN_SERIAL ${ARG_RUN_SERIAL})
    if(ARG_ENVIRONMENT)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "${ARG_ENVIRONMENT}" RUN_SERIAL ${ARG_RUN_SERIAL})
  endif()
endfunction()
