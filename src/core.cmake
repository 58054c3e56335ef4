# The Qt-free core: link state, protocol, device information, texts, panel lines, connect,
# record sets and .kv files, text exports, the download engine, the date-time value.

add_library(velorin_core STATIC
  analysis/analysis_texts.cpp
  analysis/clock_time.cpp
  analysis/compare_csv.cpp
  analysis/compare_files.cpp
  analysis/compare_report.cpp
  analysis/number_text.cpp
  analysis/range_statistics.cpp
  analysis/range_statistics_columns.cpp
  analysis/range_statistics_output.cpp
  common/atomic_file.cpp
  common/format.cpp
  common/text_codec.cpp
  common/texts.cpp
  common/texts_chinese.cpp
  common/texts_english.cpp
  device/device_info.cpp
  device/device_reader.cpp
  device/display_options.cpp
  device/kvusb_loader.cpp
  device/link.cpp
  device/name_tables.cpp
  device/port_permission.cpp
  device/usb_reply_text.cpp
  device/serial_port.cpp
  device/stop_recording.cpp
  device/transport.cpp
  config/clock_calibration.cpp
  config/config_codec.cpp
  config/config_requests.cpp
  config/config_texts.cpp
  common/date_time.cpp
  config/finish_sequence.cpp
  config/wizard_entries.cpp
  history/block_codec.cpp
  history/dastrel_doc.cpp
  history/download_engine.cpp
  history/download_store.cpp
  history/kv_file.cpp
  history/kv_record_stream.cpp
  history/record_set.cpp
  report/csv_export.cpp
  report/export_format.cpp
  report/export_texts.cpp
  report/txt_export.cpp
  report/cairo_canvas.cpp
  report/pdf_canvas.cpp
  report/pdf_writer.cpp
  report/report_font.cpp
  report/truetype_font.cpp
  report/pdf_document.cpp
  report/pdf_report.cpp
  report/pdf_report_pages.cpp
  report/recording_canvas.cpp
  report/report_statistics.cpp
  report/report_texts.cpp
  report/save_as.cpp
  view/data_list.cpp
  view/print_layout.cpp
  view/curve_geometry.cpp
  view/curve_summary.cpp
  view/curve_state.cpp
  view/curve_texts.cpp
  view/record_times.cpp
  view/f0.cpp
  view/record_panel_lines.cpp
  view/statistics_list.cpp
  view/view_texts.cpp
  analysis/compare_axis.cpp
  analysis/compare_texts.cpp
  analysis/temperature_marks.cpp
  common/cancel_token.cpp
  device/connect.cpp
  device/hotplug_event.cpp
  common/language.cpp
  common/manual_path.cpp
  common/lock_leds.cpp
  device/panel_lines.cpp
  common/program_usage.cpp
  device/usb_detection.cpp
  live/live_geometry.cpp
  live/live_health.cpp
  live/live_poll.cpp
  live/live_reading.cpp
  live/live_text_format.cpp
  live/live_texts.cpp
  live/live_samples.cpp
)
target_include_directories(velorin_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
# The one version of the build, from project(): shown by both programs and the About box.
configure_file(common/version.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/generated/version.cpp @ONLY)
target_sources(velorin_core PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated/version.cpp)
target_link_libraries(velorin_core PUBLIC velorin_protocol Threads::Threads ${CMAKE_DL_LIBS})
# The PDF report: fontconfig finds the CJK font; zlib deflates the PDF's streams; cairo reads
# PNG logos and writes the PDF when the font is not one the program embeds itself.
pkg_check_modules(REPORT_PDF REQUIRED IMPORTED_TARGET cairo fontconfig zlib)
target_link_libraries(velorin_core PRIVATE PkgConfig::REPORT_PDF)

# velorin-cli's commands as a library: the program is its main() over them, and the manual-page
# generator prints the very usage texts the commands answer --help with.
add_library(velorin_cli STATIC
  cli/cli_command.cpp
  cli/command_table.cpp
  cli/cli_connect.cpp
  cli/cli_interrupt.cpp
  cli/cli_options.cpp
  cli/cli_output.cpp
  cli/cmd_download.cpp
  cli/cmd_export.cpp
  cli/cmd_info.cpp
  cli/cmd_live.cpp
  cli/cmd_ports.cpp
  cli/cli_device_command.cpp
  cli/cmd_configure.cpp
  cli/cmd_set_clock.cpp
  cli/cmd_stop.cpp
  cli/cmd_stats.cpp
  cli/cmd_compare.cpp
  cli/cli_data_file.cpp
)
target_link_libraries(velorin_cli PUBLIC velorin_core)

add_executable(velorin-cli cli/main.cpp)
target_link_libraries(velorin-cli PRIVATE velorin_cli)
install(TARGETS velorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(VELORIN_GUI)
  include(gui.cmake)
endif()
