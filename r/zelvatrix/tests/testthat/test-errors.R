test_that("a bad argument is an error naming the argument and the value", {
  f <- "any.mp"
  bad <- list(
    list(quote(range_edges(f, share = 1.5)),
         "`share` must be a number above 0 and at most 1, not 1.5"),
    list(quote(range_edges(f, share = 0)), "`share` must be a number above 0"),
    list(quote(range_edges(f, share = "0.1")), "`share` must be a number"),
    list(quote(range_edges(f, axis = "z")), "`axis` must be \"x\" or \"y\""),
    list(quote(range_edges(f, start_year = 0)),
         "`start_year` must be a whole year from 1 to 99999999, not 0"),
    list(quote(range_edges(f, start_year = 2000.5)), "`start_year` must be"),
    list(quote(range_edges(f, start_year = 1e8)), "`start_year` must be"),
    list(quote(range_edges(f, burn_in = -1)),
         "`burn_in` must be a whole number of years, 0 or more, not -1"),
    list(quote(range_edges(f, clean = NA)), "`clean` must be a whole number"),
    list(quote(range_edges(f, smooth = "lowess")),
         "`smooth` must be one of \"none\", \"sma\", \"exp\", \"median\""),
    list(quote(range_edges(f, smooth = "sma")),
         "`window` must be given with smooth = \"sma\""),
    list(quote(range_edges(f, smooth = "exp", window = 0)),
         "`window` must be a whole number of years of at least 1, not 0"),
    list(quote(range_edges(f, weighted = NA)), "`weighted` must be TRUE or FALSE"),
    list(quote(range_edges(f, y_down = "yes")), "`y_down` must be TRUE or FALSE"),
    list(quote(range_edges(f, resolution = 0)),
         "`resolution` must be NULL (the file's) or a number above 0, not 0"),
    list(quote(range_edges(f, resolution = Inf)), "`resolution` must be"),
    list(quote(range_edges(f, jobs = 0)), "`jobs` must be NULL"),
    list(quote(range_edges(f, jobs = 1025)), "`jobs` must be NULL"),
    list(quote(range_edges(f, on_error = "ignore")),
         "`on_error` must be one of \"stop\", \"warn\""),
    list(quote(range_edges(character())),
         "`files` must be a character vector of MP file names"),
    list(quote(edge_members(NA_character_)), "`files` must be"),
    list(quote(compare_scenarios(c(f, f), f)),
         "`baseline` must be the name of one MP file"),
    list(quote(read_mp(1)), "`file` must be the name of one MP file, not 1"))
  for (row in bad) {
    expect_error(eval(row[[1]]), row[[2]], fixed = TRUE,
                 label = deparse(row[[1]]))
  }
})

test_that("a failed file stops the run with an error that names it", {
  good <- project_file("examples", "transect.mp")
  missing <- file.path(tempdir(), "absent.mp")
  for (run in list(range_edges, edge_members, year_measures)) {
    error <- tryCatch(run(c(good, missing, good)), error = identity)
    expect_s3_class(error, "zelvatrix_file_error")
    expect_identical(error$file, missing)
    expect_match(conditionMessage(error),
                 paste0("^", missing, ": cannot open the MP file"))
  }
  # With on_error = "warn" the file warns and adds no rows.
  expect_warning(edges <- range_edges(c(missing, good), on_error = "warn"),
                 class = "zelvatrix_file_warning")
  expect_identical(edges, range_edges(good))
  # A scenario cannot be compared without its baseline, whatever on_error.
  expect_error(compare_scenarios(missing, good, on_error = "warn"),
               "as the baseline failed, no file was compared",
               class = "zelvatrix_file_error")
})

test_that("messages about a file's limits name the R arguments", {
  transect <- project_file("examples", "transect.mp")  # 3 years, 4 patches
  flat <- tempfile(fileext = ".mp")
  writeLines(c("Model input", "Grid 0 km", "A,1,2,0,a.KCH", "Migration",
               "Pop. ALL", "5 0 0", "Pop. 1", "5 0 0"), flat)
  limits <- list(
    list(quote(range_edges(transect, burn_in = 3)),
         ": burn_in 3 is outside its valid range 0 to 2: the file covers 3 years"),
    list(quote(range_edges(transect, burn_in = 1, smooth = "sma", window = 3)),
         ": window 3 is outside its valid range 1 to 2"),
    list(quote(year_measures(transect, clean = 50)),
         "cleaning with clean 50 removed every patch of "),
    list(quote(year_measures(flat)),
         "which is not a positive number; give the right one with the argument `resolution`"))
  for (row in limits) {
    error <- tryCatch(eval(row[[1]]), error = identity)
    expect_s3_class(error, "zelvatrix_file_error")
    expect_match(conditionMessage(error), row[[2]], fixed = TRUE,
                 label = deparse(row[[1]]))
  }
  # The resolution given overrides the file's.
  expect_identical(year_measures(flat, resolution = 2)$area_km2, 0)
})
