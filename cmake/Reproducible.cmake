# The same sources give the same executable and package, whatever the folder
# and the time of the build. Only the time needs care: rcc writes each
# resource file's time into the program, CPack each file's time into the
# package. Both take SOURCE_DATE_EPOCH (seconds since 1970, UTC): the
# environment's when it sets one, else the time of the checkout's last commit,
# else 1.1.0's release day.
set(DIELEKTRA_SOURCE_DATE_EPOCH 1796515200) # 2026-12-06 00:00 UTC
find_package(Git QUIET)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(DIELEKTRA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
elseif(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel --path-format=absolute
            --git-path logs/HEAD
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE git_paths OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(REPLACE "\n" ";" git_paths "${git_paths}")
  list(LENGTH git_paths git_path_count)
  file(REAL_PATH "${PROJECT_SOURCE_DIR}" source_dir)
  if(git_path_count EQUAL 2)
    list(GET git_paths 0 git_top_level)
    list(GET git_paths 1 git_head_log)
    file(REAL_PATH "${git_top_level}" git_top_level)
  endif()
  # Only a checkout of this project counts, not one that merely holds it.
  if(git_path_count EQUAL 2 AND git_top_level STREQUAL source_dir)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
      set(DIELEKTRA_SOURCE_DATE_EPOCH ${commit_time})
    endif()
    # A commit or a checkout writes this log: configure again then.
    if(EXISTS "${git_head_log}")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${git_head_log}")
    endif()
  endif()
endif()
message(STATUS "SOURCE_DATE_EPOCH for rcc and CPack: ${DIELEKTRA_SOURCE_DATE_EPOCH}")

# rcc reads this variable (SOURCE_DATE_EPOCH, if the build's environment has
# it, goes first). Every custom command of the project runs with it; only rcc
# reads it, and, unlike SOURCE_DATE_EPOCH, cmake does not, when a build runs
# it again to update the configuration.
set_property(DIRECTORY PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env QT_RCC_SOURCE_DATE_OVERRIDE=${DIELEKTRA_SOURCE_DATE_EPOCH}")
