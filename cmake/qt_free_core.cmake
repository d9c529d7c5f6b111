# The core (src/platform, src/model, src/render, src/player, src/export) is
# plain C++ that the headless tool and the tests run without a display; the
# window and printing are the only places that may use Qt. This check makes
# that a build fact: configuring fails when a target defined in a core folder
# links a Qt target, directly or through the libraries it links. Call it once
# every target is defined.

# Appends to `out_var` the Qt libraries that `target` reaches.
function(_quil_qt_reached target out_var visited_var)
  set(visited ${${visited_var}})
  if(target IN_LIST visited)
    return()
  endif()
  list(APPEND visited ${target})
  set(${visited_var} ${visited} PARENT_SCOPE)

  get_target_property(imported ${target} IMPORTED)
  set(items)
  if(NOT imported)
    get_target_property(linked ${target} LINK_LIBRARIES)
    if(linked)
      list(APPEND items ${linked})
    endif()
  endif()
  get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
  if(interface)
    list(APPEND items ${interface})
  endif()

  set(found ${${out_var}})
  foreach(item IN LISTS items)
    # Generator expressions such as $<LINK_ONLY:Qt6::Core> wrap the name.
    string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" name "${item}")
    # Qt6::Core, Qt::Widgets, Qt6Gui, -lQt6Core, /usr/lib/.../libQt6Core.so
    if(name MATCHES "(^|[^A-Za-z0-9_])(lib)?Qt[0-9]*(::|[A-Z])")
      list(APPEND found "${name} (through ${target})")
    elseif(TARGET ${name})
      _quil_qt_reached(${name} found visited)
    endif()
  endforeach()
  set(${out_var} ${found} PARENT_SCOPE)
  set(${visited_var} ${visited} PARENT_SCOPE)
endfunction()

function(quil_check_qt_free_core)
  set(offences)
  foreach(folder platform model render player export)
    get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR}/src/${folder}
                 PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      set(reached)
      set(visited)
      _quil_qt_reached(${target} reached visited)
      if(reached)
        list(REMOVE_DUPLICATES reached)
        list(JOIN reached ", " names)
        list(APPEND offences "${target} in src/${folder} links ${names}")
      endif()
    endforeach()
  endforeach()
  if(offences)
    list(JOIN offences "\n  " lines)
    message(FATAL_ERROR "The core must not link Qt:\n  ${lines}")
  endif()
endfunction()
