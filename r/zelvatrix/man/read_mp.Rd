\name{read_mp}
\alias{read_mp}
\title{Read an MP file of the population model}
\description{
Reads the patches (name and map coordinates), the map resolution and the mean
population of every patch in every simulated year of an MP file, with the
reader that the package's analyses and the \command{zvx} program use.
}
\usage{
read_mp(file, start_year = 1)
}
\arguments{
  \item{file}{the MP file's name.}
  \item{start_year}{the calendar year of the first simulated year, a whole
    number from 1 to 99999999.}
}
\value{
A list of
\item{patches}{a data frame of \code{patch} (character), \code{x} and
  \code{y} (double, map units), one row per patch, in the byte order of the
  patch names.}
\item{populations}{a data frame of \code{patch} (character), \code{year}
  (integer) and \code{population} (double), one row per patch and year: the
  patches in the order of \code{patches}, each patch's years ascending.}
\item{resolution}{kilometres per map unit, as the file states (1 when it
  states none).}
}
\section{Errors}{
A file that cannot be read or is malformed is an error of class
\code{zelvatrix_file_error} whose message starts with the file's name (and
gives the line at fault); its \code{file} field holds the name.
}
\examples{
\dontrun{
mp <- read_mp("examples/heath_skink.mp", start_year = 2030)
head(mp$populations)
}
}
