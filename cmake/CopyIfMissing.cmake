# cmake -DDEST=dir -DFILES=a;b -P CopyIfMissing.cmake
foreach(f IN LISTS FILES)
  get_filename_component(name "${f}" NAME)
  if(NOT EXISTS "${DEST}/${name}")
    file(COPY "${f}" DESTINATION "${DEST}")
  endif()
endforeach()
