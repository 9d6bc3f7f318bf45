# The layering check. At configure time this writes, for every target of the build, the files it
# owns and the targets it may include from (what it links, directly or passed on by what it
# links). The test `layers` (cmake/check_layers.cmake) then reads the sources as they are and
# fails on an #include of a header owned by a target that is not linked, of a header that
# belongs to no library (a program's or a tool's own header) from another folder, and of Qt
# outside the targets that link Qt. The libraries themselves are held to the order below: each
# links only libraries of lower rows, and the field and the battle libraries never meet (the
# programs, tools, tests and benchmarks stand above every row).
set(HARUVEL_LAYERS
    "platform platform_qt_resources_1" # the second: the translation catalogs built into platform_qt
    "platform_testing platform_qt common assets_field assets_battle scenario_demo"
    "tekkel"
    "field_model"
    "field_graphics field_script"
    "field battle"
    "test_support tekkel_fuzz_input scenario_fuzz_input tekkel_tool")
set(HARUVEL_APART field battle) # name prefixes of two stacks that never link each other

function(_haruvel_layer_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _haruvel_layer_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Usable link entries: plain names; a $<LINK_ONLY:...> entry (a private dependency handed on only
# for linking) and other generator expressions give no right to include.
function(_haruvel_layer_links target property out)
  get_target_property(links ${target} ${property})
  set(result "")
  foreach(l IN LISTS links)
    if(NOT l MATCHES "^\\$<" AND NOT l STREQUAL "links-NOTFOUND")
      list(APPEND result ${l})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Everything `target` may include from: its direct links and what they pass on, transitively.
function(_haruvel_layer_closure target out)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    _haruvel_layer_links(${target} INTERFACE_LINK_LIBRARIES queue)
  else()
    _haruvel_layer_links(${target} LINK_LIBRARIES queue)
  endif()
  set(seen "")
  while(queue)
    list(POP_FRONT queue l)
    if(l IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${l})
    if(TARGET ${l})
      _haruvel_layer_links(${l} INTERFACE_LINK_LIBRARIES passed)
      list(APPEND queue ${passed})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(_haruvel_layer_order)
  set(row 0)
  foreach(line IN LISTS HARUVEL_LAYERS)
    string(REPLACE " " ";" names "${line}")
    foreach(n IN LISTS names)
      set(rank_${n} ${row})
    endforeach()
    math(EXPR row "${row} + 1")
  endforeach()
  list(GET HARUVEL_APART 0 apartA)
  list(GET HARUVEL_APART 1 apartB)
  set(errors "")
  _haruvel_layer_targets(${PROJECT_SOURCE_DIR} targets)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "LIBRARY$")
      continue()
    endif()
    if(NOT DEFINED rank_${t})
      list(APPEND errors "library ${t} has no row in HARUVEL_LAYERS")
      continue()
    endif()
    _haruvel_layer_closure(${t} linked)
    foreach(l IN LISTS linked)
      if(NOT DEFINED rank_${l})
        continue() # Qt, GoogleTest, Google Benchmark
      endif()
      if(NOT rank_${l} LESS rank_${t})
        list(APPEND errors "${t} links ${l}, which is not in a lower row")
      elseif((t MATCHES "^${apartA}" AND l MATCHES "^${apartB}") OR
             (t MATCHES "^${apartB}" AND l MATCHES "^${apartA}"))
        list(APPEND errors "${t} links ${l}: ${apartA} and ${apartB} never meet")
      endif()
    endforeach()
  endforeach()
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "Library links out of layer order:\n  ${text}")
  endif()
endfunction()

function(haruvel_layer_check)
  _haruvel_layer_targets(${PROJECT_SOURCE_DIR} targets)
  set(manifest "# Written by cmake/Layers.cmake at configure time.\n")
  set(checked "")
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(dir ${t} SOURCE_DIR)
    get_target_property(sources ${t} SOURCES)
    if(NOT sources)
      set(sources "")
    endif()
    set(files "")
    foreach(s IN LISTS sources)
      if(s MATCHES "^\\$<")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE abs)
      cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${abs} NORMALIZE inside)
      if(inside)
        file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${abs})
        list(APPEND files ${rel})
      endif()
    endforeach()
    _haruvel_layer_closure(${t} allowed)
    set(qt FALSE)
    foreach(a IN LISTS allowed)
      if(a MATCHES "^Qt[0-9]*::")
        set(qt TRUE)
      endif()
    endforeach()
    list(FILTER allowed EXCLUDE REGEX "::")
    string(APPEND manifest "list(APPEND LAYER_TARGETS ${t})\n"
                           "set(LAYER_${t}_FILES \"${files}\")\n"
                           "set(LAYER_${t}_ALLOWED \"${allowed}\")\n"
                           "set(LAYER_${t}_QT ${qt})\n")
    list(APPEND checked ${t})
  endforeach()
  _haruvel_layer_order()
  set(file ${PROJECT_BINARY_DIR}/layers_manifest.cmake)
  file(WRITE ${file} "${manifest}")
  add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DMANIFEST=${file}
                                -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
endfunction()
