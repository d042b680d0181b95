# Fails when a front end (the window, its tools, the application or the
# command line) reaches the character file's layout: a layout header (of
# version 71 or of the later families), the version-71 offsets or the offset
# tables. The build already keeps the layout's
# folder off their include path; this catches a path spelled out to it.
#
#     cmake -DSOURCE=<project folder> -P CheckLayoutPrivate.cmake
set(pattern "(layout/|format/[A-Z]|[\"/]Layout\\.h|CharacterLayout|Layout::|LayoutOf|g_n(Quest|Act|Waypoint)Offsets)")
set(found "")
foreach(folder mainwindow tools app cli)
  file(GLOB_RECURSE sources ${SOURCE}/${folder}/*.cpp ${SOURCE}/${folder}/*.h)
  foreach(source ${sources})
    file(STRINGS ${source} lines REGEX "${pattern}")
    foreach(line ${lines})
      string(APPEND found "${source}: ${line}\n")
    endforeach()
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "A front end reaches the character layout:\n${found}")
endif()
