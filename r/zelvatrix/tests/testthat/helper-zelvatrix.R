# Where the tests find the project's MP files and the zvx program.
#
# ZELVATRIX_SOURCE_DIR: the project's root (default: four folders up from
# tests/testthat, where the tests run in a checkout). ZVX_BINARY: the zvx
# program whose tables the package must reproduce; without it the
# comparisons are skipped.

project_root <- function() {
  root <- Sys.getenv("ZELVATRIX_SOURCE_DIR", "")
  if (!nzchar(root)) root <- file.path("..", "..", "..", "..")
  if (!file.exists(file.path(root, "src", "TRangeTables.h"))) return(NULL)
  normalizePath(root)
}

project_file <- function(...) {
  root <- project_root()
  if (is.null(root)) skip("the project's sources are not found; set ZELVATRIX_SOURCE_DIR")
  file.path(root, ...)
}

# The bundled examples, the test fixtures and the real model outputs (these
# live with the shared data next to the project and may be absent).
fixture_files <- function() {
  root <- project_file()
  c(Sys.glob(file.path(root, "examples", "*.mp")),
    Sys.glob(file.path(root, "tests", "data", "*.mp")))
}

real_file <- function(name) file.path(project_file(), "..", "shared", "data",
                                      "real-mp", name)

real_files <- function() {
  files <- Sys.glob(real_file("*.mp"))
  if (length(files) == 0L) skip("the real MP files are not found")
  normalizePath(files)
}

zvx_binary <- function() {
  binary <- Sys.getenv("ZVX_BINARY", "")
  if (!nzchar(binary) || !file.exists(binary)) {
    skip("ZVX_BINARY does not name the zvx program")
  }
  binary
}

# The R arguments as zvx options.
zvx_options <- function(args) {
  options <- character()
  for (name in names(args)) {
    value <- args[[name]]
    option <- paste0("--", gsub("_", "-", name))
    if (name %in% c("on_error", "jobs", "window")) next
    if (name == "smooth") {
      options <- c(options, paste0("--smooth=", value, ":", args$window))
    } else if (is.logical(value)) {
      if (value) options <- c(options, option)
    } else {
      options <- c(options, paste0(option, "=", format(value, digits = 17)))
    }
  }
  options
}

# zvx's table for the same files and arguments, read by read.csv with the
# column types the table states, and again with its doubles as the text zvx
# wrote (R's number reader is not correctly rounded: it reads a few of
# zvx's shortest texts one unit in the last place off); and zvx's messages.
zvx_table <- function(command, files, args, classes) {
  output <- tempfile(fileext = ".csv")
  errors <- tempfile(fileext = ".txt")
  on.exit(unlink(c(output, errors)))
  status <- system2(zvx_binary(),
                    c(command, "--quiet", paste0("--output=", output),
                      shQuote(zvx_options(args)), "--", shQuote(files)),
                    stdout = FALSE, stderr = errors)
  text_classes <- ifelse(classes == "numeric", "character", classes)
  list(status = status,
       table = read.csv(output, stringsAsFactors = FALSE, colClasses = classes),
       text = read.csv(output, stringsAsFactors = FALSE, colClasses = text_classes,
                       na.strings = character()),
       messages = readLines(errors))
}

# The column types of each table: text, integer year and count, doubles.
table_classes <- list(
  edges = c(file = "character", edge = "character", year = "integer",
            x = "numeric", y = "numeric", shift_x = "numeric",
            shift_y = "numeric", shift_x_km = "numeric",
            shift_y_km = "numeric", step_x = "numeric", step_y = "numeric"),
  members = c(file = "character", edge = "character", year = "integer",
              patch = "character", x = "numeric", y = "numeric",
              population = "numeric", taken = "numeric"),
  years = c(file = "character", year = "integer", total = "numeric",
            occupied = "integer", mean_x = "numeric", mean_y = "numeric",
            weighted_x = "numeric", weighted_y = "numeric",
            effective_patches = "numeric", area = "numeric",
            area_km2 = "numeric"),
  compare = c(baseline = "character", file = "character",
              edge = "character", year = "integer", diff_x = "numeric",
              diff_y = "numeric", diff_initial_x = "numeric",
              diff_initial_y = "numeric", prop_initial_x = "numeric",
              prop_initial_y = "numeric", prop_yearly_x = "numeric",
              prop_yearly_y = "numeric"))

# zvx names the settings by its options, the package by its arguments.
as_r_message <- function(message) {
  message <- gsub("--smooth window", "window", message, fixed = TRUE)
  message <- gsub("--burn-in", "burn_in", message, fixed = TRUE)
  message <- gsub("--clean", "clean", message, fixed = TRUE)
  gsub("--resolution", "the argument `resolution`", message, fixed = TRUE)
}

# Runs `f` and returns its value with the messages of its warnings.
with_warnings <- function(expr) {
  messages <- character()
  value <- withCallingHandlers(expr, warning = function(w) {
    messages <<- c(messages, conditionMessage(w))
    invokeRestart("muffleWarning")
  })
  list(value = value, messages = messages)
}

# The table as zvx writes it: every double as its shortest round-trip text,
# which differs for any two doubles of different bits.
as_written <- function(table) {
  for (column in names(table)) {
    if (is.double(table[[column]])) {
      table[[column]] <- zelvatrix:::shortest_text(table[[column]])
    }
  }
  table
}

# The package's data frame against zvx's table read with its doubles as
# text: equal to the bit, naming the first cell that differs.
expect_same_table <- function(got, want) {
  # What is not a number is R's NA, as read.csv reads zvx's "NA", never NaN.
  nan <- vapply(got, function(column) is.double(column) && any(is.nan(column)),
                logical(1))
  if (any(nan)) {
    fail(paste("NaN instead of NA in", paste(names(got)[nan], collapse = ",")))
    return(invisible())
  }
  written <- as_written(got)
  if (identical(written, want)) return(succeed())
  if (!identical(names(written), names(want)) || nrow(written) != nrow(want)) {
    fail(sprintf("columns %s, %d rows; want %s, %d rows",
                 paste(names(got), collapse = ","), nrow(got),
                 paste(names(want), collapse = ","), nrow(want)))
    return(invisible())
  }
  for (column in names(written)) {
    a <- written[[column]]
    b <- want[[column]]
    if (identical(a, b)) next
    if (typeof(a) != typeof(b)) {
      fail(sprintf("column %s is %s; want %s", column, typeof(a), typeof(b)))
      return(invisible())
    }
    row <- which(is.na(a) != is.na(b) | (!is.na(a) & a != b))[[1]]
    fail(sprintf("column %s, row %d: %s; want %s", column, row, a[[row]],
                 b[[row]]))
    return(invisible())
  }
  fail("the tables' attributes differ")
}
