# The Debian packages, one per install component, split as Debian splits Qt widget libraries:
#   liblumetto-control3          the run-time library; it holds only files named by its major
#                                version, so that it installs beside liblumetto-control1 and 2,
#                                which programs built against those versions keep using
#   liblumetto-control-dev       headers, CMake package and reference, for building programs
#   liblumetto-control-designer  the Qt Designer plugin
#   qml6-module-lumetto          the QML module Lumetto, named and placed as Debian's Qt QML modules
#   lumetto-demo                 the demo program
# Each names the exact version of the run-time library it was built with.
set(CPACK_PACKAGE_VENDOR "Lumetto developers")
set(CPACK_PACKAGE_CONTACT "Lumetto developers <lumetto-demo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL library development designer quick demo)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# dpkg-shlibdeps names the packages of the linked libraries; our own library is found in the
# build and named by hand, with its exact version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/library)
set(runtime_package liblumetto-control${PROJECT_VERSION_MAJOR})
set(on_runtime "${runtime_package} (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${runtime_package})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The engine's helper process is started, not linked, so it is named as well.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS libqt6webenginecore6-bin)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "Lumetto HTML display control, run-time library
A Qt widget that shows HTML with its style rules and reports the user's clicks: content never
runs script, never navigates and loads nothing outside the control's base location.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME liblumetto-control-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${on_runtime}, qt6-base-dev")
# The CMake package's component Quick, for QML programs, needs these as well.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "qml6-module-lumetto, qt6-declarative-dev, qt6-webengine-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "Lumetto HTML display control, development files
Headers, the CMake package LumettoControl (target Lumetto::Control) and the HTML reference of
the Lumetto HTML display control.")

set(CPACK_DEBIAN_DESIGNER_PACKAGE_NAME liblumetto-control-designer)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_DEPENDS ${on_runtime})
set(CPACK_DEBIAN_DESIGNER_PACKAGE_ENHANCES designer-qt6)
set(CPACK_COMPONENT_DESIGNER_DESCRIPTION "Lumetto HTML display control, Qt Designer plugin
Puts the Lumetto HTML display control in Qt Designer's widget box, with its properties editable.")

set(CPACK_DEBIAN_QUICK_PACKAGE_NAME qml6-module-lumetto)
set(CPACK_DEBIAN_QUICK_PACKAGE_SECTION libs)
# The QML modules it imports are loaded, not linked: Qt WebEngine's, whose WebEngineView shows the
# page, and Qt Quick Controls' (with the templates it is made of), whose Actions and Menu it uses.
set(CPACK_DEBIAN_QUICK_PACKAGE_DEPENDS
    "${on_runtime}, qml6-module-qtwebengine, qml6-module-qtquick, qml6-module-qtquick-controls, qml6-module-qtquick-templates")
set(CPACK_COMPONENT_QUICK_DESCRIPTION "Lumetto HTML display control, QML module
The QML module Lumetto for Qt Quick programs (import Lumetto): HtmlView, which shows HTML with its
style rules and reports the user's clicks, and HtmlDataMapper, which binds a model's rows to it.")

set(CPACK_DEBIAN_DEMO_PACKAGE_NAME lumetto-demo)
set(CPACK_DEBIAN_DEMO_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_DEMO_PACKAGE_DEPENDS ${on_runtime})
set(CPACK_COMPONENT_DEMO_DESCRIPTION "Demo of the Lumetto HTML display control
A product page and a questionnaire shown in the Lumetto HTML display control, built on Qt
WebEngine: clicks are reported and highlighted, form answers collected and copies mirrored.")

include(CPack)
