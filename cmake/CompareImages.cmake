# cmake -DGENERATOR=... -DOUT=... -DRES=... -P CompareImages.cmake
# Runs the image generator and fails if any file it writes differs from the
# one committed in res/ by a single byte.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "image generator failed: ${rc}")
endif()
foreach(name panel.bmp glyphs.bmp zarvo.ico hand.cur)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${RES}/${name}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "res/${name} is not what tools/mkimages makes; run: mkimages res")
  endif()
  message(STATUS "res/${name} matches the generator")
endforeach()
