# The package's functions: argument checks in R, in the ranges zvx accepts,
# then one call into the library. The tables are zvx's, column for column.

read_mp <- function(file, start_year = 1) {
  file <- check_file_name(file, "file")
  start_year <- check_start_year(start_year)
  result <- .Call(C_zelvatrix_read_mp, file, start_year)
  if (!is.null(result$error)) signal_file_failure(result$error, file, "stop")
  result
}

range_edges <- function(files, start_year = 1, axis = "y", share = 0.1,
                        burn_in = 0, clean = 0,
                        smooth = c("none", "sma", "exp", "median"), window,
                        weighted = FALSE, y_down = FALSE, resolution = NULL,
                        jobs = NULL, on_error = c("stop", "warn")) {
  settings <- table_settings(start_year, axis, share, burn_in, clean, smooth,
                             if (missing(window)) NULL else window,
                             weighted, y_down, resolution)
  run_table("edges", files, NULL, settings, jobs, on_error)
}

edge_members <- function(files, start_year = 1, axis = "y", share = 0.1,
                         burn_in = 0, clean = 0,
                         smooth = c("none", "sma", "exp", "median"), window,
                         weighted = FALSE, y_down = FALSE, resolution = NULL,
                         jobs = NULL, on_error = c("stop", "warn")) {
  settings <- table_settings(start_year, axis, share, burn_in, clean, smooth,
                             if (missing(window)) NULL else window,
                             weighted, y_down, resolution)
  run_table("members", files, NULL, settings, jobs, on_error)
}

year_measures <- function(files, start_year = 1, axis = "y", share = 0.1,
                          burn_in = 0, clean = 0,
                          smooth = c("none", "sma", "exp", "median"), window,
                          weighted = FALSE, y_down = FALSE, resolution = NULL,
                          jobs = NULL, on_error = c("stop", "warn")) {
  settings <- table_settings(start_year, axis, share, burn_in, clean, smooth,
                             if (missing(window)) NULL else window,
                             weighted, y_down, resolution)
  run_table("years", files, NULL, settings, jobs, on_error)
}

compare_scenarios <- function(baseline, files, start_year = 1, axis = "y",
                              share = 0.1, burn_in = 0, clean = 0,
                              smooth = c("none", "sma", "exp", "median"),
                              window, weighted = FALSE, y_down = FALSE,
                              resolution = NULL, jobs = NULL,
                              on_error = c("stop", "warn")) {
  baseline <- check_file_name(baseline, "baseline")
  settings <- table_settings(start_year, axis, share, burn_in, clean, smooth,
                             if (missing(window)) NULL else window,
                             weighted, y_down, resolution)
  run_table("compare", files, baseline, settings, jobs, on_error)
}

# The doubles as zvx writes them, the shortest text that reads back to the
# same double ("NA" for NA and NaN); for the tests, which compare tables by
# it.
shortest_text <- function(x) .Call(C_zelvatrix_shortest, as.double(x))

# --- running -----------------------------------------------------------------

run_table <- function(kind, files, baseline, settings, jobs, on_error) {
  files <- check_file_names(files)
  jobs <- check_jobs(jobs)
  on_error <- choose_one(on_error, c("stop", "warn"), "on_error")
  result <- .Call(C_zelvatrix_table, kind, files, baseline, settings, jobs,
                  on_error == "stop")
  if (!is.null(result$baseline_failure)) {
    # Without its baseline no scenario can be compared, whatever on_error.
    signal_file_failure(paste0(result$baseline_failure,
                               "; as the baseline failed, no file was compared"),
                        baseline, "stop")
  }
  for (k in seq_along(result$failed)) {
    signal_file_failure(result$failures[[k]], files[[result$failed[[k]]]],
                        on_error)
  }
  if (isTRUE(result$interrupted)) stop("interrupted", call. = FALSE)
  result$table
}

# A failed file as a condition of class zelvatrix_file_error (or _warning)
# that carries the file's name, so that callers can handle it without
# reading the message.
signal_file_failure <- function(message, file, on_error) {
  type <- if (on_error == "stop") "error" else "warning"
  condition <- structure(
    class = c(paste0("zelvatrix_file_", type), type, "condition"),
    list(message = message, call = NULL, file = file))
  if (type == "error") stop(condition) else warning(condition)
}

# --- argument checks ---------------------------------------------------------

# The value as the caller gave it, short enough for a message.
shown <- function(x) {
  text <- paste(deparse(x, nlines = 1L), collapse = "")
  if (nchar(text) > 40L) text <- paste0(substr(text, 1L, 37L), "...")
  text
}

bad_argument <- function(name, requirement, x) {
  stop(sprintf("`%s` must be %s, not %s", name, requirement, shown(x)),
       call. = FALSE)
}

is_number <- function(x) {
  is.numeric(x) && length(x) == 1L && !is.na(x) && is.finite(x)
}

check_whole <- function(x, name, low, high, requirement) {
  if (!is_number(x) || x != trunc(x) || x < low || x > high) {
    bad_argument(name, requirement, x)
  }
  as.integer(x)
}

check_flag <- function(x, name) {
  if (!is.logical(x) || length(x) != 1L || is.na(x)) {
    bad_argument(name, "TRUE or FALSE", x)
  }
  x
}

# match.arg, with a message that names the argument.
choose_one <- function(x, choices, name) {
  requirement <- paste0("one of ", paste0("\"", choices, "\"", collapse = ", "))
  if (!is.character(x) || (!identical(x, choices) && length(x) != 1L)) {
    bad_argument(name, requirement, x)
  }
  tryCatch(match.arg(x, choices), error = function(e) {
    bad_argument(name, requirement, x)
  })
}

check_start_year <- function(start_year) {
  check_whole(start_year, "start_year", 1, 99999999,
              "a whole year from 1 to 99999999")
}

check_file_name <- function(x, name) {
  if (!is.character(x) || length(x) != 1L || is.na(x)) {
    bad_argument(name, "the name of one MP file", x)
  }
  enc2native(x)
}

check_file_names <- function(files) {
  if (!is.character(files) || length(files) == 0L || anyNA(files)) {
    bad_argument("files", "a character vector of MP file names", files)
  }
  enc2native(files)
}

check_jobs <- function(jobs) {
  if (is.null(jobs)) return(NULL)
  check_whole(jobs, "jobs", 1, 1024,
              "NULL (all hardware threads) or a whole number from 1 to 1024")
}

int32_max <- 2147483647

table_settings <- function(start_year, axis, share, burn_in, clean, smooth,
                           window, weighted, y_down, resolution) {
  start_year <- check_start_year(start_year)
  if (!is.character(axis) || length(axis) != 1L || is.na(axis) ||
      !(tolower(axis) %in% c("x", "y"))) {
    bad_argument("axis", "\"x\" or \"y\"", axis)
  }
  if (!is_number(share) || !(share > 0 && share <= 1)) {
    bad_argument("share", "a number above 0 and at most 1", share)
  }
  burn_in <- check_whole(burn_in, "burn_in", 0, int32_max,
                         "a whole number of years, 0 or more")
  clean <- check_whole(clean, "clean", 0, int32_max,
                       "a whole number of years, 0 or more")
  smooth <- choose_one(smooth, c("none", "sma", "exp", "median"), "smooth")
  if (smooth == "none") {
    window <- 0L
  } else if (is.null(window)) {
    stop(sprintf("`window` must be given with smooth = \"%s\"", smooth),
         call. = FALSE)
  } else {
    window <- check_whole(window, "window", 1, int32_max,
                          "a whole number of years of at least 1")
  }
  weighted <- check_flag(weighted, "weighted")
  y_down <- check_flag(y_down, "y_down")
  if (!is.null(resolution)) {
    if (!is_number(resolution) || !(resolution > 0)) {
      bad_argument("resolution", "NULL (the file's) or a number above 0",
                   resolution)
    }
    resolution <- as.double(resolution)
  }
  list(start_year = start_year, axis = tolower(axis),
       share = as.double(share), burn_in = burn_in, clean = clean,
       smooth = smooth, window = window, weighted = weighted,
       y_down = y_down, resolution = resolution)
}
