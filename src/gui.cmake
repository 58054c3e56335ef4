# The Qt program: the shell's windows and dialogs over the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
pkg_check_modules(UDEV REQUIRED IMPORTED_TARGET libudev)

add_library(velorin_gui STATIC
  analysis/compare_canvas.cpp
  analysis/compare_command.cpp
  analysis/compare_renderer.cpp
  analysis/compare_statistics_table.cpp
  analysis/compare_window.cpp
  app/about_dialog.cpp
  app/child_frame.cpp
  app/connection_manager.cpp
  app/data_windows.cpp
  app/demo_mode.cpp
  ui/gui_text.cpp
  app/hotplug_monitor.cpp
  app/hotplug_source.cpp
  ui/icons.cpp
  app/link_worker.cpp
  app/main_frame.cpp
  app/main_frame_menus.cpp
  ui/presenter.cpp
  app/property_panel.cpp
  app/panel_width.cpp
  ui/qt_messages.cpp
  ui/qt_translations.cpp
  app/recent_files.cpp
  app/port_dialog.cpp
  app/signal_watch.cpp
  app/simulated_hotplug.cpp
  app/config_commands.cpp
  config/clock_dialog.cpp
  config/wizard_dialog.cpp
  config/wizard_pages.cpp
  history/download_dialog.cpp
  report/save_as_command.cpp
  report/report_worker.cpp
  live/live_poller.cpp
  app/live_view_frame.cpp
  live/live_view_widget.cpp
  view/data_list_model.cpp
  view/plain_text_delegate.cpp
  view/print_job.cpp
  view/view_printing.cpp
  view/f0_parameters_dialog.cpp
  view/curve_renderer.cpp
  view/stroke_raster.cpp
  view/curve_layer.cpp
  view/paint_target.cpp
  view/deferred_canvas.cpp
  view/parallel_parts.cpp
  view/dastrel_view.cpp
  view/f0_command.cpp
  view/f0_formula.cpp
  view/history_lists.cpp
  view/statistics_model.cpp
  view/range_chooser.cpp
  view/view_images.cpp
  view/view_layout.cpp
)
set_target_properties(velorin_gui PROPERTIES AUTOMOC ON)
target_include_directories(velorin_gui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(velorin_gui PUBLIC velorin_core velorin_sim Qt6::Widgets Qt6::PrintSupport PkgConfig::UDEV)

add_executable(velorin app/main_gui.cpp)
target_link_libraries(velorin PRIVATE velorin_gui)
install(TARGETS velorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
