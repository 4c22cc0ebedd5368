# The libraries' arrows point one way, from the windows down to platform/: a
# library may link and include only libraries below it. Links are checked here,
# includes on every build (CheckLayers.cmake).
set(PYATNUSHKI_LINKS_NEVER
  "platform_core:canvas_core canvas pictures_core pictures tales_core tales games_core games pages app"
  "platform:canvas_core canvas pictures_core pictures tales_core tales games_core games pages app"
  "canvas_core:pictures_core pictures tales_core tales games_core games pages app"
  "canvas:pictures_core pictures tales_core tales games_core games pages app"
  "pictures_core:tales_core tales games_core games pages app pictures"
  "pictures:tales_core tales games_core games pages app"
  "tales_core:pictures_core pictures games_core games pages app canvas"
  "tales:pictures_core pictures games_core games pages app"
  "games_core:canvas_core canvas pictures_core pictures tales_core tales pages app games"
  "games:canvas_core canvas pictures_core pictures tales_core tales pages app"
  "pages:canvas_core canvas pictures_core pictures tales_core tales games_core games app")
foreach(rule IN LISTS PYATNUSHKI_LINKS_NEVER)
  string(REPLACE ":" ";" parts "${rule}")
  list(GET parts 0 library)
  list(GET parts 1 above)
  string(REPLACE " " ";" above "${above}")
  get_target_property(links ${library} LINK_LIBRARIES)
  get_target_property(interface ${library} INTERFACE_LINK_LIBRARIES)
  foreach(link IN LISTS links interface)
    if(link IN_LIST above)
      message(FATAL_ERROR "${library} links ${link}, which stands above it")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE PYATNUSHKI_LAYERED_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/platform/*.cpp
  ${PROJECT_SOURCE_DIR}/canvas/*.h ${PROJECT_SOURCE_DIR}/canvas/*.cpp
  ${PROJECT_SOURCE_DIR}/pictures/*.h ${PROJECT_SOURCE_DIR}/pictures/*.cpp
  ${PROJECT_SOURCE_DIR}/tales/*.h ${PROJECT_SOURCE_DIR}/tales/*.cpp
  ${PROJECT_SOURCE_DIR}/games/*.h ${PROJECT_SOURCE_DIR}/games/*.cpp
  ${PROJECT_SOURCE_DIR}/app/pages/*.h ${PROJECT_SOURCE_DIR}/app/pages/*.cpp)
set(PYATNUSHKI_LAYERS_STAMP ${PROJECT_BINARY_DIR}/layers.stamp)
add_custom_command(OUTPUT ${PYATNUSHKI_LAYERS_STAMP}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${PYATNUSHKI_LAYERS_STAMP}
          -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  DEPENDS ${PYATNUSHKI_LAYERED_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking that includes point down the layers"
  VERBATIM)
add_custom_target(layers ALL DEPENDS ${PYATNUSHKI_LAYERS_STAMP})
