# Every table equals zvx's for the same files and arguments, to the bit:
# the same columns, types and rows, and doubles of the same bits (compared
# by zvx's shortest round-trip text, which tells any two doubles apart).

# The files of every case: the examples, the fixtures and the real files,
# among them one without results and one that does not exist, so that every
# case also shows that a failed file adds no rows and the others go on.
all_files <- function() {
  c(fixture_files(), real_files(), file.path(tempdir(), "no such file.mp"))
}

# A baseline of 100 years: two of the real files share its span, the
# others fail the comparison.
baseline_file <- function() real_file("dfo_B10_16pops.mp")

cases <- list(
  list(command = "edges", args = list()),
  list(command = "edges",
       args = list(start_year = 2030, axis = "x", share = 0.25, burn_in = 2,
                   smooth = "sma", window = 3, weighted = TRUE)),
  list(command = "edges",
       args = list(y_down = TRUE, clean = 2, smooth = "exp", window = 4,
                   resolution = 2.5)),
  list(command = "edges", args = list(share = 1, smooth = "median", window = 3)),
  list(command = "members", args = list()),
  list(command = "members",
       args = list(axis = "X", share = 0.3, y_down = TRUE, clean = 2)),
  list(command = "years", args = list()),
  list(command = "years", args = list(start_year = 1990, clean = 3,
                                      resolution = 0.5)),
  list(command = "compare", args = list()),
  list(command = "compare", args = list(burn_in = 10, weighted = TRUE,
                                        y_down = TRUE)),
  list(command = "compare", args = list(axis = "x", share = 0.5)))

functions <- list(edges = range_edges, members = edge_members,
                  years = year_measures, compare = compare_scenarios)

for (case in cases) {
  label <- paste(case$command,
                 paste(names(case$args), case$args, sep = "=", collapse = " "))
  test_that(paste("the data frame is zvx's table:", label), {
    files <- all_files()
    args <- c(list(files = files), case$args, list(on_error = "warn"))
    zvx_files <- files
    if (case$command == "compare") {
      args <- c(list(baseline = baseline_file()), args)
      zvx_files <- c(baseline_file(), files)
    }
    got <- with_warnings(do.call(functions[[case$command]], args))
    want <- zvx_table(case$command, zvx_files, case$args,
                      table_classes[[case$command]])

    expect_gt(nrow(want$table), 0L)
    expect_identical(vapply(got$value, class, ""),
                     table_classes[[case$command]])
    expect_same_table(got$value, want$text)
    # read.csv gives the same but for those few cells it misreads.
    expect_equal(got$value, want$table, tolerance = 4 * .Machine$double.eps)
    # Every failure warned with zvx's message, and zvx's last line counts
    # them.
    failures <- utils::head(want$messages, -1L)
    expect_identical(got$messages, as_r_message(failures))
    if (length(failures) > 0L) expect_identical(want$status, 1L)
  })
}
