# Installation layout and the Debian package (scripts/package.sh builds it).
# Only the notifier's own component goes into the package; the demo service
# and other tools install into the default component and stay out.
if(NOT TARGET talvane)
    return()
endif()

# Autostart entries are read from the system configuration folders: a
# program installed under /usr or /usr/local belongs in /etc/xdg/autostart,
# a private prefix keeps its entry under itself. -DTALVANE_AUTOSTART_DIR=...
# overrides the choice.
if(NOT TALVANE_AUTOSTART_DIR)
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
        set(TALVANE_AUTOSTART_DIR /etc/xdg/autostart)
    else()
        set(TALVANE_AUTOSTART_DIR ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart)
    endif()
endif()

add_subdirectory(packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tray notifier for a web-seminar service")
set(CPACK_PACKAGE_DESCRIPTION
    "Talvane sits in the notification area, lists the service's next five web\n"
    "seminars in a small panel and shows a reminder when one of them begins.\n"
    "The panel opens a seminar's page in the web browser. The notifier starts\n"
    "with the desktop session.")
# A package for the demo service must say so: any local user can listen on
# the demo's port and feed everyone's panel.
if(TALVANE_SERVICE_URL_DEFAULT STREQUAL TALVANE_DEMO_SERVICE_URL)
    string(APPEND CPACK_PACKAGE_DESCRIPTION_SUMMARY " (demo build)")
    list(APPEND CPACK_PACKAGE_DESCRIPTION
        "\n.\nThis is a demonstration build: it talks to the demo service on\n"
        "${TALVANE_DEMO_SERVICE_URL}, which any local user can stand in for. Set\n"
        "TALVANE_SERVICE_URL or install a package built for the real service.")
else()
    list(APPEND CPACK_PACKAGE_DESCRIPTION "\n.\nService: ${TALVANE_SERVICE_URL_DEFAULT}")
endif()
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Talvane developers <talvane@localhost>")
set(CPACK_STRIP_FILES ON)
# The compiled-in component folder is under CMAKE_INSTALL_PREFIX; the
# package must put the components exactly there.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL talvane)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME talvane)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; the fonts are needed to read the Chinese
# interface at all; links open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")
# Only for Wayland sessions without XWayland.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")

include(CPack)
