# Leaves the directory DIR in place and empty.
if(NOT DIR)
  message(FATAL_ERROR "usage: cmake -DDIR=<directory> -P empty_dir.cmake")
endif()
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
