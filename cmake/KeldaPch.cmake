# Precompiled headers shared by families of targets.
#
# Most of the time of compiling one of our files goes to the Qt and standard
# headers it includes (QTest with the widget headers alone is some five
# seconds). The tree has some seven hundred such files in about two hundred
# targets, most of them test programs of one or two files, so a precompiled
# header per target would cost nearly what it saves: each family of targets
# that GCC can give one header shares it, made once by a small target of its
# own (kelda_pch_<family>), through PRECOMPILE_HEADERS_REUSE_FROM.
#
# GCC takes a precompiled header only when every macro defined as it was made
# is defined the same way (and none it tested is defined anew), with the same
# -fPIC or -fPIE. So the families follow those: libraries (-fPIC) and programs
# (-fPIE); with the widget headers or without; and for the test programs the
# macros QtTest's own headers test (QT_GUI_LIB, QT_WIDGETS_LIB,
# QT_NETWORK_LIB). The family of a target is read from the closure of what it
# links, once every folder has added its targets (kelda_precompile_headers at
# the end of the top CMakeLists.txt), so a new target needs nothing here. A
# target that fits no family (with compile options of its own, or without Qt)
# compiles without a precompiled header. The build adds -Winvalid-pch, so with
# KELDA_WERROR a header GCC refuses fails the build rather than silently
# costing its time.
#
# They pay with clang only. GCC's header is a 100-250 MB image of its heap that
# each compile maps and writes into, and the copy-on-write faults cost more
# system time than the parsing saves: a clean build with line tables took
# 3331 s user + 709 s system without them and 2826 s + 1666 s with them (g++
# 12, -j4). clang's header is a tenth of the size and read lazily (a test
# file's compile falls from about 12 s to 5 s). So the default follows the
# compiler.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(kelda_pch_default ON)
else()
  set(kelda_pch_default OFF)
endif()
option(KELDA_PCH "Share precompiled Qt and standard headers between targets"
       ${kelda_pch_default})

set(KELDA_PCH_STD <algorithm> <functional> <map> <memory> <optional> <utility> <vector>)
set(KELDA_PCH_CORE
    <QByteArray> <QCoreApplication> <QDate> <QDateTime> <QDir> <QElapsedTimer> <QFile>
    <QFileInfo> <QHash> <QList> <QLocale> <QMap> <QObject> <QPair> <QPointer>
    <QRegularExpression> <QSet> <QString> <QStringList> <QTemporaryDir> <QTimer> <QUrl>
    <QVariant>)
set(KELDA_PCH_WIDGETS
    <QAbstractButton> <QAbstractItemView> <QAction> <QApplication> <QCheckBox> <QComboBox>
    <QDialog> <QFormLayout> <QHBoxLayout> <QHeaderView> <QKeyEvent> <QLabel> <QLineEdit>
    <QMdiArea> <QMdiSubWindow> <QMenu> <QPainter> <QPlainTextEdit> <QPushButton> <QTableView>
    <QTextBrowser> <QToolButton> <QVBoxLayout> <QWidget>)
set(KELDA_PCH_TEST <QAbstractItemModelTester> <QSignalSpy> <QTest>)

# The targets reachable from ${ARGN} through what each passes on to its users
# (a static library's private dependencies, $<LINK_ONLY:...>, pass on no
# macros and are left out).
function(_kelda_link_closure out)
  set(todo ${ARGN})
  set(seen)
  while(todo)
    list(POP_FRONT todo item)
    if(item MATCHES "^\\$<" OR NOT TARGET "${item}")
      continue()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      set(item ${aliased})
    endif()
    if(item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(deps ${item} INTERFACE_LINK_LIBRARIES)
    if(deps)
      list(APPEND todo ${deps})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The family of a target, or "" when it fits none.
function(_kelda_pch_family target out)
  set(${out} "" PARENT_SCOPE)
  get_target_property(type ${target} TYPE)
  # Options of its own beyond the tree's (the fuzz targets' instrumentation)
  # would not match a header made without them.
  get_target_property(options ${target} COMPILE_OPTIONS)
  get_directory_property(tree_options DIRECTORY ${CMAKE_SOURCE_DIR} COMPILE_OPTIONS)
  if(NOT "${options}" STREQUAL "${tree_options}" OR NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|STATIC_LIBRARY|OBJECT_LIBRARY)$")
    return()
  endif()
  get_target_property(links ${target} LINK_LIBRARIES)
  if(NOT links)
    return()
  endif()
  _kelda_link_closure(closure ${links})
  if(NOT Qt6::Core IN_LIST closure)
    return()
  endif()
  set(widgets FALSE)
  if(Qt6::Widgets IN_LIST closure)
    set(widgets TRUE)
  endif()
  if(NOT type STREQUAL "EXECUTABLE")
    # No header of a library's family tests a module's macro.
    set(family lib_core)
    if(widgets)
      set(family lib_widgets)
    endif()
  elseif(NOT Qt6::Test IN_LIST closure)
    set(family exe_core)
    if(widgets)
      set(family exe_widgets)
    endif()
  elseif(NOT Qt6::Gui IN_LIST closure)
    if(Qt6::Network IN_LIST closure)
      return()
    endif()
    set(family test_core)
  elseif(NOT widgets)
    return()
  elseif(Qt6::Network IN_LIST closure)
    set(family test_network)
  else()
    set(family test_widgets)
  endif()
  set(${out} ${family} PARENT_SCOPE)
endfunction()

# The target that makes a family's header: a library of one empty file for the
# libraries, a program of one for the programs, so that its flags are theirs.
function(_kelda_pch_donor family)
  set(donor kelda_pch_${family})
  if(TARGET ${donor})
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/pch)
  set(source ${dir}/${donor}.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "int main() { return 0; }\n")
  endif()
  set(headers ${KELDA_PCH_STD} ${KELDA_PCH_CORE})
  set(modules Qt6::Core)
  if(family MATCHES "widgets|network")
    list(APPEND headers ${KELDA_PCH_WIDGETS})
    list(APPEND modules Qt6::Widgets)
  endif()
  if(family MATCHES "^test_")
    list(APPEND headers ${KELDA_PCH_TEST})
    list(APPEND modules Qt6::Test)
  endif()
  if(family STREQUAL "test_network")
    list(APPEND modules Qt6::Network)
  endif()
  if(family MATCHES "^lib_")
    add_library(${donor} OBJECT ${source})
  else()
    add_executable(${donor} ${source})
    set_target_properties(${donor} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  endif()
  set_target_properties(${donor} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  target_link_libraries(${donor} PRIVATE ${modules})
  target_precompile_headers(${donor} PRIVATE ${headers})
endfunction()

function(_kelda_pch_targets_of dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _kelda_pch_targets_of(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(kelda_precompile_headers)
  if(NOT KELDA_PCH)
    return()
  endif()
  _kelda_pch_targets_of(${CMAKE_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    if(own OR reused)
      continue()
    endif()
    _kelda_pch_family(${target} family)
    if(family)
      _kelda_pch_donor(${family})
      target_precompile_headers(${target} REUSE_FROM kelda_pch_${family})
      get_target_property(type ${target} TYPE)
      get_target_property(automoc ${target} AUTOMOC)
      if(type STREQUAL "EXECUTABLE" AND automoc)
        # A program's classes sit in its .cpp files, whose moc output they
        # include themselves, so the file that gathers the headers' moc output
        # is all but empty: loading the header would cost it seconds for
        # nothing.
        get_target_property(bindir ${target} BINARY_DIR)
        set_source_files_properties(${bindir}/${target}_autogen/mocs_compilation.cpp
          TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endif()
  endforeach()
endfunction()
