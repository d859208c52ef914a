# lumaquill_add_game_test(NAME name TARGET exe-target PLAY script [GOLDEN dir]
#                         [FILES file...] [TOLERANCE n] [MAX_DIFFERING percent])
# A ctest test that plays the script in the game, headless under Wine (as
# run-game.sh --play does), with the files beside the exe in a folder of its own,
# and, with GOLDEN, compares its shots with the pictures there (TOLERANCE: the
# channel difference a pixel may have, default 2; MAX_DIFFERING: the share of a
# shot's pixels that may differ, default 0.1, 0 for none). It builds nothing: build the
# game first. Relative paths are the calling CMakeLists.txt's; a relative FILES
# entry is looked for in its build folder first (files made at build time).
# Loaded by the framework's CMakeLists.txt and by its installed package alike.
# Cached: the function runs in the game's scope, not this file's.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../scripts/game-test.sh)  # the framework's sources
  get_filename_component(lq_game_test_script ${CMAKE_CURRENT_LIST_DIR}/../scripts/game-test.sh ABSOLUTE)
  set(LUMAQUILL_INSTALLED_PAD OFF CACHE INTERNAL "")
else()  # installed: lib/cmake/Lumaquill beside share/lumaquill
  get_filename_component(lq_game_test_script ${CMAKE_CURRENT_LIST_DIR}/../../../share/lumaquill/scripts/game-test.sh
                         ABSOLUTE)
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/../../../share/lumaquill/tools/virtual_pad/dinput8.dll)
    set(LUMAQUILL_INSTALLED_PAD ON CACHE INTERNAL "")
  else()
    set(LUMAQUILL_INSTALLED_PAD OFF CACHE INTERNAL "")
  endif()
endif()
set(LUMAQUILL_GAME_TEST_SCRIPT ${lq_game_test_script} CACHE INTERNAL "run-game.sh --play as a game's test")

function(lumaquill_add_game_test)
  cmake_parse_arguments(T "" "NAME;TARGET;PLAY;GOLDEN;TOLERANCE;MAX_DIFFERING" "FILES" ${ARGN})
  foreach(required NAME TARGET PLAY)
    if(NOT T_${required})
      message(FATAL_ERROR "lumaquill_add_game_test: ${required} is missing")
    endif()
  endforeach()
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "lumaquill_add_game_test: unknown arguments ${T_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(play ${T_PLAY} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(options)
  if(T_GOLDEN)
    get_filename_component(golden ${T_GOLDEN} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND options --compare ${golden})
  endif()
  set(share)
  if(DEFINED T_MAX_DIFFERING)
    set(share LQ_GOLDEN_MAX_DIFFERING=${T_MAX_DIFFERING})
  endif()
  if(DEFINED T_TOLERANCE)
    list(APPEND options --tolerance ${T_TOLERANCE})
  endif()
  set(files)
  foreach(file IN LISTS T_FILES)
    if(IS_ABSOLUTE ${file})
      list(APPEND files ${file})
    else()
      list(APPEND files ${CMAKE_CURRENT_BINARY_DIR}/${file}|${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endif()
  endforeach()
  # The framework's virtual controller stands in for a game controller when it
  # was built with the game or installed; a script needs none (the game starts
  # without one: START_WITHOUT_CONTROLLER).
  set(pad LQ_VIRTUAL_PAD=0)
  if(TARGET virtual_pad)
    set(pad LQ_VIRTUAL_PAD_DLL=$<TARGET_FILE:virtual_pad>)
  elseif(LUMAQUILL_INSTALLED_PAD)
    set(pad LQ_VIRTUAL_PAD=1)
  endif()
  add_test(NAME ${T_NAME}
           COMMAND env ${pad} ${share} bash ${LUMAQUILL_GAME_TEST_SCRIPT} ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}
                   $<TARGET_FILE:${T_TARGET}> ${play} "${files}" ${options})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600 LABELS game)
endfunction()
