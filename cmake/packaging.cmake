# The Debian packages, made from a release tree with `cpack -G DEB`:
#   zorbela_<version>_<arch>.deb         the game: zorbela, its desktop entry, icons,
#                                        AppStream data and manual page; depends on
#   zorbela-dealer_<version>_<arch>.deb  the server alone (QtCore and QtNetwork): its program,
#                                        manual page and systemd service (installed disabled),
#                                        run as the system user zorbela made by its postinst.
# Debian keeps games in /usr/games: configure the tree for the package with
# -DZORBELA_INSTALL_BINDIR=games (tools/checkpackage.sh does).
# tools/checkpackage.sh builds, installs, packages and checks both; test.sh runs it.
set(CPACK_PACKAGE_NAME "zorbela")
set(CPACK_PACKAGE_VENDOR "The Zorbela developers")
set(CPACK_PACKAGE_CONTACT "The Zorbela developers <zorbela@zorbela.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's synopsis is the first line of its component's description.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")

set(CPACK_COMPONENTS_ALL zorbela dealer)
set(CPACK_COMPONENT_ZORBELA_DEPENDS dealer)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")

set(CPACK_DEBIAN_ZORBELA_PACKAGE_NAME "zorbela")
# Qt's own dialogs (file dialogs, the chat box's buttons) speak Turkish with Qt's translations.
set(CPACK_DEBIAN_ZORBELA_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_COMPONENT_ZORBELA_DESCRIPTION
"RUVO, the Turkish trick-taking card game, over the network
Zorbela plays RUVO, the four-player Turkish trick-taking card game of
contracts, over a local network or the Internet. The computer takes every
seat that no person takes, at one of two levels. One copy of the game deals
and the others join it; zorbela-dealer can run the table without a window.")

set(CPACK_DEBIAN_DEALER_PACKAGE_NAME "zorbela-dealer")
set(CPACK_DEBIAN_DEALER_PACKAGE_DEPENDS "adduser")
set(CPACK_COMPONENT_DEALER_DESCRIPTION
"server for the RUVO card game Zorbela
zorbela-dealer deals the games of one RUVO table without a window; players
join it with Zorbela. It needs no desktop libraries. Its systemd service,
installed disabled, runs it as the system user zorbela with its state and
saved games in /var/lib/zorbela.")
set(CPACK_DEBIAN_DEALER_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/resources/debian/postinst
    ${PROJECT_SOURCE_DIR}/resources/debian/prerm
    ${PROJECT_SOURCE_DIR}/resources/debian/postrm)
set(CPACK_DEBIAN_DEALER_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
