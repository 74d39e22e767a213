# Run by CPack after it made the archive: packs the same files again so that
# the same sources give the same bytes. Entries in name order, every time set
# to SOURCE_DATE_EPOCH (0 when it is not set), owner and group 0 without
# names, permissions without group or world write, and a gzip stream without
# file name or time stamp.
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(epoch 0)
endif()

foreach(archive IN LISTS CPACK_PACKAGE_FILES)
  if(NOT archive MATCHES "\\.tar\\.gz$")
    continue()
  endif()
  get_filename_component(folder "${archive}" DIRECTORY)
  set(work "${folder}/_normalize")
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}")
  execute_process(COMMAND tar -xzf "${archive}" -C "${work}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot unpack ${archive} to normalise it")
  endif()
  file(GLOB top RELATIVE "${work}" "${work}/*")
  execute_process(
    COMMAND tar --create --file=- --directory=${work} --sort=name --format=gnu --mtime=@${epoch}
            --owner=0 --group=0 --numeric-owner --mode=u+rwX,go+rX,go-w -- ${top}
    COMMAND gzip -9 -n
    OUTPUT_FILE "${archive}.part"
    RESULTS_VARIABLE results)
  if(NOT results STREQUAL "0;0")
    message(FATAL_ERROR "cannot repack ${archive} (${results})")
  endif()
  file(RENAME "${archive}.part" "${archive}")
  file(REMOVE_RECURSE "${work}")
endforeach()
