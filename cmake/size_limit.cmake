# cmake -DFILE=<program> -DLIMIT=<bytes> -P size_limit.cmake: fails the build
# when the program has grown past its limit.
file(SIZE ${FILE} size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} is ${size} bytes, over its limit of ${LIMIT}")
endif()
message(STATUS "${FILE}: ${size} bytes of at most ${LIMIT}")
