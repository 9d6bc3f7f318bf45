# What the packages say about themselves, and CPack's settings: `cpack` in a build folder (or
# ./package.sh) packs whatever `cmake --install` puts under the prefix into a .deb and a tarball.

# The date of the release named by project()'s VERSION: change both together. The AppStream
# release, the Debian changelog entry and the manual pages' footer take it from here.
set(HARUVEL_RELEASE_DATE 2026-12-08)
set(HARUVEL_PACKAGE haruvel-kardovan)
set(HARUVEL_MAINTAINER "Haruvel developers <haruvel@haruvel.org>"
    CACHE STRING "The packages' maintainer line")
# Also where the metainfo points software centres for the screenshots (docs/*.png there).
set(HARUVEL_HOMEPAGE "https://haruvel.org" CACHE STRING "The games' web page")
# The sources carry no licence grant yet; the packages say so rather than guess one.
set(HARUVEL_LICENSE LicenseRef-proprietary)

# Dates in the forms the Debian changelog and help2man want; SOURCE_DATE_EPOCH keeps rebuilt
# manual pages byte-identical.
execute_process(COMMAND date -u -R -d ${HARUVEL_RELEASE_DATE}
                OUTPUT_VARIABLE HARUVEL_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND date -u +%s -d ${HARUVEL_RELEASE_DATE}
                OUTPUT_VARIABLE HARUVEL_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)

set(CPACK_PACKAGE_NAME ${HARUVEL_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Haruvel developers")
set(CPACK_PACKAGE_CONTACT ${HARUVEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quarter-view field game and card battle game")
# Debian shows the description as it is: lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Haruvel is a quarter-view field: walk the hero cell by cell, talk to
people and fetch a treasure from a floating island. Kardovan is a card
battle against a skull monster, played by mouse or keyboard. The package
also holds tekkel, which lists, checks and runs the field's scripts,
written in the games' own little script language.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_FILE_NAME ${HARUVEL_PACKAGE}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # name_version_arch.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HARUVEL_HOMEPAGE})
# Depends comes from the binaries (dpkg-shlibdeps): the Qt libraries, which bring the X11
# platform plugin. The Japanese texts need a Japanese font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-ipafont-gothic)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
