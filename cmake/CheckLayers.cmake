# Run as a script (cmake -DSOURCE_DIR=... -DSTAMP=... -P CheckLayers.cmake): fails
# when a file of a lower folder includes a header of a folder above it.
# Each line: a folder, then the folders it must never include.
set(rules
  "platform:app canvas pictures tales games tools"
  "canvas:app pictures tales games tools"
  "pictures:app tales games tools"
  "tales:app pictures games tools"
  "games:app canvas pictures tales tools"
  "app/pages:canvas pictures tales games tools")
set(faults "")
foreach(rule IN LISTS rules)
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 above)
  string(REPLACE " " "|" above "${above}")
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${above})/")
    foreach(hit IN LISTS hits)
      file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
      string(APPEND faults "\n  ${shown}: ${hit}")
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes that point up the layers (a folder may use only the folders below it):${faults}")
endif()
file(TOUCH "${STAMP}")
