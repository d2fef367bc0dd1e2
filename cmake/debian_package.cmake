# The Debian package, made by CPack from the install rules:
#   cpack --config <build>/CPackConfig.cmake
# Dependencies are worked out by dpkg-shlibdeps from the binary's libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tubewyrm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "snake game on a board wrapped round a turning drum")
set(CPACK_PACKAGE_DESCRIPTION
"Tubewyrm is a fast arcade game for one player. A red snake slides over a
board of grass wrapped round a lit drum, which turns and tips to follow the
snake's head.

Eat the numbers that appear on the board: the snake grows by the number it
eats. Running into the rows of stone along the top and bottom, or into the
snake's own body, ends the game. The key opposite to the snake's direction
turns it round, its tail becoming its head.

It is played with the keyboard or a gamepad, can pause, keeps the best
score, and shows its picture full screen on any screen. It makes its own
sound effects, replays the best game on its title when left alone, and has a
second palette for players who cannot tell red from green. It needs OpenGL
and a display of at least 512 x 384 pixels; 1024 x 768 or more is best.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TUBEWYRM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL library itself when it makes the window (libGL.so.1 under
# X11, libEGL.so.1 under Wayland), so neither is among the binary's libraries
# and dpkg-shlibdeps cannot see them. The packages that hold them on the build
# machine are looked up with dpkg and added to what dpkg-shlibdeps finds.
set(loaded_by_sdl)
foreach(soname libGL.so.1 libEGL.so.1)
  execute_process(COMMAND dpkg-query --search "*/${soname}"
    OUTPUT_VARIABLE owner ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND owner MATCHES "^([a-z0-9][a-z0-9.+-]*)")
    list(APPEND loaded_by_sdl ${CMAKE_MATCH_1})
  endif()
endforeach()
list(JOIN loaded_by_sdl ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# After the staging install: the Debian documentation (copyright, changelog),
# a compressed manual page and a stripped binary in place of what a plain
# install puts there.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian_staging.cmake)
set(CPACK_TUBEWYRM_STRIP ${CMAKE_STRIP})
set(CPACK_TUBEWYRM_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_TUBEWYRM_DATA_DIR ${CMAKE_CURRENT_BINARY_DIR})
include(CPack)
