# A folder made of parts: every sub-folder with a CMakeLists.txt is added, so
# a new part needs no edit here. The glob is checked again at each build, so a
# folder added after the first configuration is not missed. A folder's tests/
# is left to the folder itself, which adds it only when tests are built.
function(kelda_add_parts)
  file(GLOB parts CONFIGURE_DEPENDS LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(part ${parts})
    if(IS_DIRECTORY ${part} AND EXISTS ${part}/CMakeLists.txt AND NOT part MATCHES "/tests$")
      add_subdirectory(${part})
    endif()
  endforeach()
endfunction()
